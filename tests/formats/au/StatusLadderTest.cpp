#include "formats/au/CAException.h"
#include "formats/au/CAXException.h"
#include "formats/au/StatusLadder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

using namespace kelmora::au;

TEST (StatusLadder, TurnsEveryThrownKindIntoItsStatusAndKeepsTheOperationTextWithinItsRoom)
{
    EXPECT_EQ (0, CallWithStatusLadder ([] { return OSStatus (0); }));
    EXPECT_EQ (-10851, CallWithStatusLadder ([]() -> OSStatus { return -10851; }));
    EXPECT_EQ (-10868, CallWithStatusLadder ([]() -> OSStatus { throw CAXException ("format", -10868); }));
    EXPECT_EQ (-108, CallWithStatusLadder ([]() -> OSStatus { throw std::bad_alloc(); }));
    EXPECT_EQ (-10877, CallWithStatusLadder ([]() -> OSStatus { ThrowStatus (-10877); }));
    EXPECT_EQ (-50, CallWithStatusLadder ([]() -> OSStatus { throw SInt16 (-50); }));
    EXPECT_EQ (-1, CallWithStatusLadder ([]() -> OSStatus { throw SInt16 (-1); }));
    EXPECT_EQ (-1, CallWithStatusLadder ([]() -> OSStatus { throw CAException (-4); }));
    EXPECT_EQ (-1, CallWithStatusLadder ([]() -> OSStatus { throw std::runtime_error ("other"); }));
    EXPECT_EQ (-1, CallWithStatusLadder ([]() -> OSStatus { throw 1.5; }));

    const std::string longText (400, 'x');
    CAXException e (longText.c_str(), -4);
    EXPECT_EQ (255u, std::strlen (e.GetOperation()));
    EXPECT_EQ (-4, e.GetError());
    EXPECT_STREQ ("", CAXException (nullptr, 1).GetOperation());
}

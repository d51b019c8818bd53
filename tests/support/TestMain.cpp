#include "support/JuceAssertions.h"

#include <gtest/gtest.h>

int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);
    quietline::test::failTestsOnJuceAssertions();
    const int result = RUN_ALL_TESTS();
    quietline::test::testsAreOver();
    return result;
}

// Widgets on a real desktop peer (needs an X server: runs under xvfb-run).
#include "editor/BetterSlider.h"
#include "editor/BetterTextEditor.h"
#include "editor/PresetComboBox.h"
#include "editor/VirtualKeyboard.h"
#include "editor/XYSlider.h"
#include "MessageQueue.h"
#include "MouseEvents.h"

#include "skins/LookAndFeelCustom.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

namespace
{
using namespace kelmora::editor;
using quietline::test::deliverPostedMessages;
using quietline::test::mouseAt;

constexpr auto mouse = juce::MouseInputSource::InputSourceType::mouse;

// A top-level window holding the component under test. Like real hosts, it keeps X errors from
// ending the process (a server without a window manager lacks atoms that JUCE names).
struct Window : juce::Component
{
    explicit Window (juce::Component& content)
    {
        XSetErrorHandler ([] (::Display*, XErrorEvent*) { return 0; });
        setBounds (100, 100, 400, 300);
        addAndMakeVisible (content);
        addToDesktop (0);
        setVisible (true);
    }
    ~Window() override { removeFromDesktop(); }

    juce::ComponentPeer& peer() { return *getPeer(); }
};

struct PadLog : XYSlider::Listener
{
    juce::StringArray log;
    void xySliderValueChanged (XYSlider* s) override { log.add ("changed " + juce::String (s->getValueX()) + " " + juce::String (s->getValueY())); }
    void xySliderDragStarted (XYSlider*) override { log.add ("started"); }
    void xySliderDragEnded (XYSlider*) override { log.add ("ended"); }
};

TEST (WidgetsOnTheDesktop, DoubleClickOnThePadIsOneGestureOfItsOwn)
{
    XYSlider pad;
    pad.setBounds (0, 0, 200, 100);
    pad.setDefaultValues (0.5f, 1.0f);
    pad.setValueX (0.25f);
    PadLog listener;
    pad.addListener (&listener);
    Window window (pad);

    const auto left = juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier);
    const auto t = juce::Time::currentTimeMillis();
    for (int click = 0; click < 2; ++click)
    {
        window.peer().handleMouseEvent (mouse, { 50, 50 }, left, 1.0f, 0.0f, t + 40 * click);
        window.peer().handleMouseEvent (mouse, { 50, 50 }, {}, 0.0f, 0.0f, t + 40 * click + 20);
    }

    EXPECT_EQ (listener.log, juce::StringArray ({ "started", "ended", "started", "ended",
                                                 "started", "changed 0.5 1", "ended" }));
}

// The knob skin's text box is a plain label, which passes wheel events up; JUCE's own slider
// label swallows them. The slider hears one step per event with either.
TEST (WidgetsOnTheDesktop, WheelOverABarSlidersTextBoxStepsOncePerEvent)
{
    kelmora::skins::LookAndFeelCustom knobSkin;
    juce::LookAndFeel_V4 juceSkin;

    for (juce::LookAndFeel* skin : { static_cast<juce::LookAndFeel*> (&knobSkin), static_cast<juce::LookAndFeel*> (&juceSkin) })
    {
        BetterSlider slider ("amount");
        slider.setLookAndFeel (skin);
        slider.setSliderStyle (juce::Slider::LinearBarVertical);
        slider.setTextBoxStyle (juce::Slider::TextBoxBelow, false, 50, 20);
        slider.setBounds (0, 0, 55, 21);
        slider.setRange (0.0, 1.0);
        slider.setValue (0.5, juce::dontSendNotification);
        Window window (slider);

        juce::MouseWheelDetails wheel {};
        wheel.deltaY = 0.2f;
        const auto t = juce::Time::currentTimeMillis();
        window.peer().handleMouseWheel (mouse, { 27, 10 }, t, wheel);
        EXPECT_NEAR (slider.getValue(), 0.55, 1e-9) << (skin == &knobSkin ? "knob skin" : "JUCE");
        window.peer().handleMouseWheel (mouse, { 27, 10 }, t + 100, wheel);
        EXPECT_NEAR (slider.getValue(), 0.6, 1e-9);
        slider.setLookAndFeel (nullptr);
    }
}

struct MenuResult
{
    static void receive (int result, juce::Component* parent)
    {
        ++calls;
        lastResult = result;
        lastParent = parent;
    }
    static inline int calls = 0, lastResult = -1;
    static inline juce::Component* lastParent = nullptr;
};

TEST (WidgetsOnTheDesktop, RightClickOpensTheContextMenuOnAnEnabledBoxOnly)
{
    PresetComboBox box;
    box.setBounds (10, 10, 136, 22);
    box.setMenuCallback (&MenuResult::receive);
    Window window (box);
    const auto right = juce::ModifierKeys (juce::ModifierKeys::rightButtonModifier);

    box.setEnabled (false);
    box.mouseDown (mouseAt (box, { 5, 5 }, right));
    EXPECT_FALSE (juce::PopupMenu::dismissAllActiveMenus());

    box.setEnabled (true);
    box.mouseDown (mouseAt (box, { 5, 5 }, right));
    EXPECT_FALSE (box.isPopupActive()); // the list itself stays closed
    EXPECT_TRUE (juce::PopupMenu::dismissAllActiveMenus());
    deliverPostedMessages();
    EXPECT_EQ (MenuResult::calls, 1);
    EXPECT_EQ (MenuResult::lastResult, 0);
    EXPECT_EQ (MenuResult::lastParent, &window);
}

TEST (WidgetsOnTheDesktop, KeyClicksGiveTheFocusBackToTheNameField)
{
    juce::Component content;
    content.setBounds (0, 0, 400, 300);
    BetterTextEditor field;
    field.setBounds (0, 0, 200, 24);
    VirtualKeyboard keyboard (field, true);
    keyboard.setBounds (0, 40, 302, 100);
    content.addAndMakeVisible (field);
    content.addAndMakeVisible (keyboard);
    Window window (content);

    for (auto* child : keyboard.getChildren())
        if (auto* key = dynamic_cast<juce::TextButton*> (child); key != nullptr && key->getButtonText() == "Q")
        {
            ASSERT_FALSE (field.hasKeyboardFocus (false));
            keyboard.buttonClicked (key);
        }

    EXPECT_EQ (field.getText(), "Q");
    EXPECT_TRUE (field.hasKeyboardFocus (false));
}

// Gaining the focus is handled as losing it: a field that would select all its text on focus
// keeps its caret instead, so the next key does not replace a name the dialog filled in.
TEST (WidgetsOnTheDesktop, NameFieldDoesNotSelectItsTextOnFocus)
{
    juce::Component content;
    content.setBounds (0, 0, 400, 300);
    juce::TextEditor plain;
    BetterTextEditor better;
    for (juce::TextEditor* e : { &plain, static_cast<juce::TextEditor*> (&better) })
    {
        e->setBounds (0, e == &plain ? 0 : 30, 200, 24);
        e->setSelectAllWhenFocused (true);
        e->setText ("My Preset", false);
        content.addAndMakeVisible (*e);
    }
    Window window (content);

    plain.grabKeyboardFocus();
    EXPECT_EQ (plain.getHighlightedRegion().getLength(), 9); // what JUCE does on its own
    better.grabKeyboardFocus();
    EXPECT_TRUE (better.hasKeyboardFocus (false));
    EXPECT_TRUE (better.getHighlightedRegion().isEmpty());
}
} // namespace

#include "mainwnd/AboutText.h"

std::string ComposeAboutText()
{
    const std::string productName = kProductName;
    std::string text = "1.About of " + productName + "\r\n";
    text += "Have you ever stuck little paper notes around your monitor to remind yourself of an "
            "appointment, a birthday or a task for the day?";
    text += " ";
    text += productName;
    text += " lets you stick notes on your monitor electronically."
            " Move a note wherever you like and resize it to fit; the text wraps as you type."
            " A note can stay hidden until right before an event and then pop up as a reminder,"
            " with an audio alert if you want one."
            " Schedule one-time or recurring events (daily, weekly or monthly) and choose how long"
            " before the event the note should appear.";
    return text;
}

#pragma once
// Which of its four pictures a face button shows.

enum class ButtonFace { Normal, Over, Down, Disabled };

struct ButtonFaceState {
    bool latching = false;     // a latching button shows only down or normal
    bool latched = false;
    bool highlighted = false;  // the mouse is over it
    bool selected = false;     // drawn pressed
    bool disabled = false;
};

// The first rule that applies wins: latching (down when latched), latched and
// not highlighted, pressed, highlighted, disabled, otherwise normal.
ButtonFace ChooseButtonFace(const ButtonFaceState& state);

#include "skin/ButtonFace.h"

ButtonFace ChooseButtonFace(const ButtonFaceState& state)
{
    if (state.latching)
        return state.latched ? ButtonFace::Down : ButtonFace::Normal;
    if (state.latched && !state.highlighted)
        return ButtonFace::Down;
    if (state.selected)
        return ButtonFace::Down;
    if (state.highlighted)
        return ButtonFace::Over;
    if (state.disabled)
        return ButtonFace::Disabled;
    return ButtonFace::Normal;
}

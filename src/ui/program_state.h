#pragma once

#include <QString>

#include <array>

namespace velmora {

// The keypad's values, shared by the main window and the keypad window for the
// whole run (the current user is the diary's).
struct ProgramState
{
    static constexpr int KeypadBoxCount = 11; // Text2 to Text12

    QString KeypadBuffer;
    // 1: box Text(i + 2) receives KeypadBuffer at the next activation of the main window.
    std::array<int, KeypadBoxCount> KeypadRequest{};
    double KeypadLeft = 0; // screen twips
    int KeypadTop = 0;     // screen twips
};

} // namespace velmora

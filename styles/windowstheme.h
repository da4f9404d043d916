#pragma once

// The Windows colour themes that the modern style knows. Any theme it does
// not recognise, and every platform without visual themes, is Classic.
enum class WindowsTheme {
    Blue = 0,
    Silver = 1,
    Olive = 2,
    Classic = 3
};

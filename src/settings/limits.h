// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The ranges of the three numbers a user sets. The settings page accepts only values inside them,
// a training clamps a hand-edited value into them, and a phase stopped early counts at least the
// lower bound of its time.
namespace limits
{

struct Range {
    int low = 0;
    int high = 0;
};

inline constexpr Range wordCount{10, 50};
inline constexpr Range memoriseSeconds{10, 30};
inline constexpr Range recallSeconds{60, 180};

} // namespace limits

// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The rating of a finished training in per cent: four partial scores that add up to the total.
namespace score
{

struct Inputs {
    double recalled = 0;     // F, words found
    double words = 0;        // N, words shown
    double memoriseUsed = 0; // M, memorising seconds counted
    double recallUsed = 0;   // R, recall seconds counted
    double baseLevel = 0;    // B, 0, 1 or 2
};

struct Points {
    double words = 0;    // F × 50 ÷ N, at most 50
    double memorise = 0; // (F ÷ M) × 8, at most 40
    double recall = 0;   // (F × 48) ÷ (R × 5), at most 8
    double total = 0;    // the three and B, at most 100
};

// Nothing is rounded or clamped. A divisor of 0 (only a hand-edited options file could give one)
// makes its score 0 instead of an infinity or NaN.
Points compute(const Inputs &in);

} // namespace score

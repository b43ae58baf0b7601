// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "score.h"

namespace score
{

namespace
{
double divide(double a, double b)
{
    return b == 0 ? 0 : a / b;
}
} // namespace

Points compute(const Inputs &in)
{
    const double F = in.recalled;
    Points p;
    p.words = divide(F * 50, in.words);
    p.memorise = divide(F, in.memoriseUsed) * 8;
    p.recall = divide(F * 48, in.recallUsed * 5);
    // Computed afresh, in this order of terms, so that the last digit matches.
    p.total = (divide(F, in.memoriseUsed) * 8 + divide(F * 50, in.words)) +
              divide(F * 48, in.recallUsed * 5) + in.baseLevel;
    return p;
}

} // namespace score

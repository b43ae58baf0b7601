// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The end of a training: scoring, the results page and the review of the word list.
#include "app/frmvaruva.h"
#include "common/number.h"
#include "score.h"

#include <QFontMetrics>

namespace
{

// A value with 15 significant digits may be wider than its cell: the font shrinks until the number
// fits on one line, so that no digit is cut off and none wraps below the others, but not below
// 9 pixels, where digits can no longer be read. A value that does not fit even then is shown rounded
// to the digits that fit; its tooltip and the name a screen reader reads give it whole.
void showValue(vb::Label *cell, double value)
{
    constexpr int smallest = 9;
    const QString whole = number::text(value);
    cell->setCaption(whole);
    QFont font = cell->font();
    const auto fits = [&](const QString &text) {
        return QFontMetrics(font).horizontalAdvance(text) <= cell->width();
    };
    while (font.pixelSize() > smallest && !fits(whole))
        font.setPixelSize(font.pixelSize() - 1);
    cell->setFont(font);
    QString shown = whole;
    for (int digits = 14; digits > 0 && !fits(shown); --digits)
        shown = number::text(value, digits);
    cell->setText(shown);
    cell->setToolTip(shown == whole ? QString() : whole);
    cell->setAccessibleName(whole);
}

} // namespace

void frmvaruva::showResults()
{
    f->Timer2->stop();
    const score::Points points = score::compute(m_training.scoreInputs());
    showValue(f->Label32, points.words);
    showValue(f->Label43, points.memorise);
    showValue(f->Label44, points.recall);
    showValue(f->Label47, points.total);
    f->Frame3->hide();
    f->Frame4->show();
    f->Command4->setFocus();
}

void frmvaruva::Command4_Click()
{
    f->Frame4->hide();
    f->Frame3->show();
    for (int i = 0; i < m_training.wordCount(); ++i) {
        if (!m_training.found(i)) {
            f->Label25[i]->show();
            f->Label25[i]->setForeColor(vb::red);
        }
    }
    f->Text4->hide();
    f->Command3->hide();
}

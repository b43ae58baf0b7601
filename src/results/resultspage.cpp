// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The end of a training: scoring, the results page and the review of the word list.
#include "app/frmvaruva.h"
#include "common/number.h"
#include "score.h"

#include <QFontMetrics>

namespace
{

// A value with 15 significant digits is wider than its cell: the font shrinks until the number
// fits on one line, so that no digit is cut off and none wraps below the others.
void showValue(vb::Label *cell, double value)
{
    cell->setCaption(number::text(value));
    QFont font = cell->font();
    while (font.pixelSize() > 1 && QFontMetrics(font).horizontalAdvance(cell->text()) > cell->width())
        font.setPixelSize(font.pixelSize() - 1);
    cell->setFont(font);
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

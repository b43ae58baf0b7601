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

void frmvaruva::Label24_Change()
{
    if (number::read(f->Label24->caption()) != 0)
        return;
    f->Timer2->stop();
    const score::Points points = score::compute({
        .recalled = number::read(f->Label27->caption()),
        .words = number::read(f->Label28->caption()),
        .memoriseUsed = number::read(f->Text2->text()),
        .recallUsed = number::read(f->Text3->text()),
        .baseLevel = number::read(f->Label45->caption()),
    });
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
    const int words = number::wholeIn(f->Label28->caption(), 0, 50);
    for (int i = 0; i < words; ++i) {
        vb::Label *slot = f->Label25[i];
        if (slot->isHidden()) {
            slot->show();
            slot->setForeColor(vb::red);
        }
    }
    f->Text4->hide();
    f->Command3->hide();
}

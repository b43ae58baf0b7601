// The end of a training: scoring, the results page and the review of the word list.
#include "app/frmvaruva.h"
#include "common/number.h"
#include "score.h"

#include <QFontMetrics>

namespace
{

// A value with 15 significant digits is wider than its cell: shrink the font down to a readable
// size, then let the digits wrap and the cell grow downwards rather than cut any of them off.
void showValue(vb::Label *cell, double value, int minPixels)
{
    cell->setCaption(number::text(value));
    QFont font = cell->font();
    const QString text = cell->text();
    while (font.pixelSize() > minPixels && QFontMetrics(font).horizontalAdvance(text) > cell->width())
        font.setPixelSize(font.pixelSize() - 1);
    cell->setFont(font);
    if (QFontMetrics(font).horizontalAdvance(text) <= cell->width())
        return;
    // Zero-width spaces give the label places to break inside the number; the caption keeps the
    // plain text.
    QString breakable;
    for (QChar c : text) {
        breakable += c;
        breakable += QChar(0x200B);
    }
    cell->setText(breakable);
    cell->resize(cell->width(), std::max(cell->height(), cell->heightForWidth(cell->width())));
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
    showValue(f->Label32, points.words, 10);
    showValue(f->Label43, points.memorise, 10);
    showValue(f->Label44, points.recall, 10);
    showValue(f->Label47, points.total, 24);
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

// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The settings page: loading the stored values, editing, checking and saving them.
#include "app/frmvaruva.h"
#include "common/number.h"
#include "common/paths.h"
#include "limits.h"
#include "options.h"

namespace
{
// A warning shown is read as the description of its field, which takes the focus to be put right.
void warn(QWidget *field, vb::Label *warning, bool shown)
{
    warning->setVisible(shown);
    field->setAccessibleDescription(shown ? warning->text() : QString());
    if (shown)
        field->setFocus();
}
} // namespace

void frmvaruva::nastr()
{
    const Options stored = loadOptions(paths::optionsFile());
    f->Label22->setCaption(stored.baseFile);
    f->Text1->setText(stored.wordCount);
    f->Text2->setText(stored.memoriseSeconds);
    f->Text3->setText(stored.recallSeconds);
}

void frmvaruva::Text123_Change()
{
    f->Command1->setEnabled(true);
}

void frmvaruva::File1_Click()
{
    f->Command1->setEnabled(true);
    const QString name = f->File1->fileName();
    if (!name.isEmpty())
        f->Label22->setCaption(name);
}

void frmvaruva::Command1_Click()
{
    if (f->Label22->caption().isEmpty()) {
        warn(f->File1, f->Label17, true);
        return;
    }
    warn(f->File1, f->Label17, false);
    struct Check {
        vb::TextBox *box;
        vb::Label *warning;
        limits::Range range;
    };
    const Check checks[] = {
        {f->Text1, f->Label19, limits::wordCount},
        {f->Text2, f->Label20, limits::memoriseSeconds},
        {f->Text3, f->Label21, limits::recallSeconds},
    };
    for (const Check &check : checks) {
        const double value = number::read(check.box->text());
        if (value < check.range.low || value > check.range.high) {
            warn(check.box, check.warning, true);
            return;
        }
        warn(check.box, check.warning, false);
    }
    Options options;
    options.baseFile = f->Label22->caption();
    options.wordCount = f->Text1->text();
    options.memoriseSeconds = f->Text2->text();
    options.recallSeconds = f->Text3->text();
    const savefile::Result saved = saveOptions(paths::optionsFile(), options);
    if (!saved.ok) {
        message(QStringLiteral("Не удалось сохранить настройки в файл options.ini (%1). Прежние настройки "
                               "остались без изменений.")
                    .arg(saved.error));
        return;
    }
    f->Command1->setEnabled(false);
}

void frmvaruva::Command2_Click()
{
    nastr();
}

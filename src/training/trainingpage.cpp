// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The training: its start, the memorising and recall phases and the recall box.
#include "app/frmvaruva.h"
#include "app/keys.h"
#include "common/number.h"
#include "common/paths.h"
#include "common/savefile.h"
#include "settings/options.h"
#include "wordbase.h"

#include <QDateTime>
#include <QDir>
#include <QLocale>

#include <utility>

namespace
{

const QString memorisePrompt = QStringLiteral("Запоминайте слова");
const QString recallPrompt = QStringLiteral("Повторите слова в любом порядке");

// Captions and boxes hold whole numbers the program wrote itself; read them back leniently.
int wholeNumber(const QString &text)
{
    return number::wholeIn(text, -1'000'000, 1'000'000);
}

// A file name as a message shows it: a hand-edited or damaged options.ini may hold anything.
QString shownName(const QString &name)
{
    constexpr qsizetype longest = 60;
    QString shown;
    for (QChar c : name.left(longest))
        shown += c.isPrint() ? c : QChar(QChar::ReplacementCharacter);
    if (name.size() > longest)
        shown += QChar(0x2026);
    return shown;
}

QString pickErrorText(wordbase::PickError error, const QString &fileName, qint64 pickable, int words)
{
    const QString name = shownName(fileName);
    switch (error) {
    case wordbase::PickError::Missing:
        return QStringLiteral(
                   "Файл базы слов «%1» не найден в папке mfiles. Выберите другой файл в настройках.")
            .arg(name);
    case wordbase::PickError::NotAFile:
        return QStringLiteral("«%1» в папке mfiles не является файлом базы слов. Выберите другой файл в "
                              "настройках.")
            .arg(name);
    case wordbase::PickError::Unreadable:
        return QStringLiteral("Не удалось прочитать файл базы слов «%1».").arg(name);
    case wordbase::PickError::TooLarge:
        return QStringLiteral(
                   "Файл базы слов «%1» слишком большой: база слов может занимать не больше %2 МБ. "
                   "Выберите другой файл в настройках.")
            .arg(name)
            .arg(wordbase::maxBaseBytes >> 20);
    case wordbase::PickError::TooFewLines:
        return QStringLiteral("В файле базы слов «%1» слишком мало слов: можно выбрать %2, а для тренировки "
                              "нужно %3. Выберите другой файл или уменьшите количество слов в настройках.")
            .arg(name)
            .arg(pickable)
            .arg(words);
    case wordbase::PickError::None:
        break;
    }
    return {};
}

// The recall box says how many words are found; each change reaches a screen reader as an event.
void describeFound(const Form *f)
{
    f->Text4->setAccessibleDescription(
        QStringLiteral("найдено %1 из %2").arg(f->Label27->caption(), f->Label28->caption()));
}

} // namespace

void frmvaruva::reportPickError(const QString &text)
{
    // No training runs. The message asks for another base, so the settings page, where one is
    // chosen, comes next.
    f->Label23->setCaption(QString());
    message(text);
    settingsAction();
}

void frmvaruva::zap()
{
    m_rng.seed(m_seed.value_or(quint64(QDateTime::currentMSecsSinceEpoch())));
    for (vb::Label *slot : f->Label25)
        slot->hide();

    const Options options = loadOptions(paths::optionsFile());

    // Values that passed the settings page but are no plain whole numbers, or that a hand-edited
    // file put out of range, are used as the whole number read from them, clamped into range.
    const int words = number::wholeIn(options.wordCount, 10, 50);
    const int memorise = number::wholeIn(options.memoriseSeconds, 10, 30);
    const int recall = number::wholeIn(options.recallSeconds, 60, 180);

    if (!paths::isPlainFileName(options.baseFile)) {
        reportPickError(QStringLiteral("Имя файла базы слов «%1» недопустимо: база слов должна быть файлом в "
                                       "папке mfiles. Выберите файл в настройках.")
                            .arg(shownName(options.baseFile)));
        return;
    }
    const wordbase::Pick pick = wordbase::pick(paths::baseFile(options.baseFile), words, m_rng);
    f->Label45->setCaption(QString::number(pick.rating.level));
    f->Label28->setCaption(QString::number(words));
    if (pick.error != wordbase::PickError::None) {
        reportPickError(pickErrorText(pick.error, options.baseFile, pick.rating.pickRange, words));
        return;
    }
    // last.txt changes only when a training really starts. Where nothing can be saved, the start
    // message has already said so. A failure is told once, before the words appear: the box must
    // neither cover them nor stretch the memorising time.
    if (paths::writable()) {
        const savefile::Result saved =
            savefile::replace(paths::lastFile(), textcodec::encodeLines(pick.words));
        if (!saved.ok && !std::exchange(m_lastFileWarned, true))
            message(
                QStringLiteral("Не удалось записать список слов в файл %1 (%2). Тренировка пройдёт без него.")
                    .arg(QDir::toNativeSeparators(paths::lastFile()), saved.error));
    }
    for (int i = 0; i < words; ++i) {
        f->Label25[i]->show();
        f->Label25[i]->setCaption(pick.words[i]);
    }

    f->Label23->setCaption(QString::number(memorise));
    f->Label24->setCaption(QString::number(recall));
    // The score counts the times the training really runs.
    if (number::read(f->Text2->text()) != memorise)
        f->Text2->setText(QString::number(memorise));
    if (number::read(f->Text3->text()) != recall)
        f->Text3->setText(QString::number(recall));
    // Enter presses STOP and so ends the memorising, as the help promises.
    f->Command3->setFocus();
    f->Timer1->start();
}

void frmvaruva::Timer1_Timer()
{
    f->Label26->setCaption(memorisePrompt);
    const int left = wholeNumber(f->Label23->caption()) - 1;
    f->Label23->setCaption(QString::number(left));
    if (left != 0)
        return;
    f->Timer1->stop();
    f->Timer2->start();
    f->Label23->hide();
    f->Label24->show();
    for (vb::Label *slot : f->Label25)
        slot->hide();
    f->Text4->show();
    describeFound(f);
    f->Label27->show();
    f->Label28->show();
    f->Label29->show();
    f->Text4->setFocus();
}

void frmvaruva::Timer2_Timer()
{
    const int left = wholeNumber(f->Label24->caption()) - 1;
    f->Label24->setCaption(QString::number(left)); // at 0 this scores the training
    f->Label26->setCaption(recallPrompt);
}

void frmvaruva::Command3_Click()
{
    stopPhase();
}

void frmvaruva::stopPhase()
{
    // A phase's time used is recorded by its first stop alone: a second STOP or "Да" in the same
    // second, or keys typed after all words were found, change nothing. While the recall runs,
    // Label23 reads 0 and the memorising time used stays as it is.
    if (f->Timer1->isActive() && !std::exchange(f->memoriseStopped, true)) {
        const int memoriseUsed =
            std::max(10, wholeNumber(f->Text2->text()) - wholeNumber(f->Label23->caption()));
        f->Text2->setText(QString::number(memoriseUsed));
        f->Label23->setCaption(QStringLiteral("1"));
    }
    if (f->Timer2->isActive() && !std::exchange(f->recallStopped, true)) {
        const int recallUsed =
            std::max(60, wholeNumber(f->Text3->text()) - wholeNumber(f->Label24->caption()));
        f->Text3->setText(QString::number(recallUsed));
        f->Label24->setCaption(QStringLiteral("1"));
    }
}

void frmvaruva::Command3_MouseMove()
{
    if (f->Timer1->isActive())
        f->Command3->setToolTip(QStringLiteral("Закончить запоминание слов"));
    if (f->Timer2->isActive())
        f->Command3->setToolTip(QStringLiteral("Закончить воспроизведение слов"));
}

void frmvaruva::Text4_Change()
{
    // Emptying the box is a change too and runs this check again, inside, before the count goes up.
    const QLocale locale;
    const int words = std::clamp(wholeNumber(f->Label28->caption()), 0, 50);
    for (int i = 0; i < words; ++i) {
        vb::Label *slot = f->Label25[i];
        if (f->Text4->text() == locale.toUpper(slot->caption()) && slot->isHidden()) {
            slot->show();
            f->Text4->clear();
            f->Label27->setCaption(QString::number(wholeNumber(f->Label27->caption()) + 1));
            describeFound(f);
        }
    }
    // All found: the recall ends at the next tick and counts the time it took, as STOP does.
    if (wholeNumber(f->Label27->caption()) == wholeNumber(f->Label28->caption()))
        stopPhase();
}

void frmvaruva::Text4_KeyDown(int keyCode)
{
    if (keyCode != keys::enter)
        return;
    if (message(QStringLiteral("Вы хотите закончить воспроизведение слов?"),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes)
        stopPhase();
}

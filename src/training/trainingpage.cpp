// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The training: its start, the memorising and recall phases and the recall box.
#include "app/frmvaruva.h"
#include "app/keys.h"
#include "common/number.h"
#include "common/paths.h"
#include "common/savefile.h"
#include "settings/limits.h"
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
void describeFound(const Form *f, const Training &training)
{
    f->Text4->setAccessibleDescription(
        QStringLiteral("найдено %1 из %2").arg(training.foundCount()).arg(training.wordCount()));
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
    const auto read = [](const QString &text, limits::Range range) {
        return number::wholeIn(text, range.low, range.high);
    };
    const int words = read(options.wordCount, limits::wordCount);
    const int memorise = read(options.memoriseSeconds, limits::memoriseSeconds);
    const int recall = read(options.recallSeconds, limits::recallSeconds);

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

    m_training.start(pick.words, memorise, recall, pick.rating.level);
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
    if (m_training.phase() != Training::Phase::Memorising)
        return;
    f->Label26->setCaption(memorisePrompt);
    const Training::Step step = m_training.tick();
    f->Label23->setCaption(QString::number(m_training.memoriseLeft()));
    if (step != Training::Step::RecallStarted)
        return;
    f->Timer1->stop();
    f->Timer2->start();
    f->Label23->hide();
    f->Label24->show();
    for (vb::Label *slot : f->Label25)
        slot->hide();
    f->Text4->show();
    describeFound(f, m_training);
    f->Label27->show();
    f->Label28->show();
    f->Label29->show();
    f->Text4->setFocus();
}

void frmvaruva::Timer2_Timer()
{
    if (m_training.phase() != Training::Phase::Recall)
        return;
    const Training::Step step = m_training.tick();
    f->Label24->setCaption(QString::number(m_training.recallLeft()));
    if (step == Training::Step::Ended)
        showResults();
    f->Label26->setCaption(recallPrompt);
}

void frmvaruva::Command3_Click()
{
    stopPhase();
}

void frmvaruva::stopPhase()
{
    const Training::Phase phase = m_training.phase();
    if (m_training.stop())
        showStop(phase);
}

void frmvaruva::showStop(Training::Phase stopped)
{
    // The time used shows in the settings page's box, which the next training start fills anew.
    if (stopped == Training::Phase::Memorising) {
        f->Text2->setText(QString::number(m_training.memoriseUsed()));
        f->Label23->setCaption(QString::number(m_training.memoriseLeft()));
    } else {
        f->Text3->setText(QString::number(m_training.recallUsed()));
        f->Label24->setCaption(QString::number(m_training.recallLeft()));
    }
}

void frmvaruva::Command3_MouseMove()
{
    if (m_training.phase() == Training::Phase::Memorising)
        f->Command3->setToolTip(QStringLiteral("Закончить запоминание слов"));
    if (m_training.phase() == Training::Phase::Recall)
        f->Command3->setToolTip(QStringLiteral("Закончить воспроизведение слов"));
}

void frmvaruva::Text4_Change()
{
    const QList<int> found = m_training.enter(f->Text4->text());
    if (found.isEmpty())
        return;
    for (int slot : found)
        f->Label25[slot]->show();
    f->Label27->setCaption(QString::number(m_training.foundCount()));
    describeFound(f, m_training);
    // All found: the recall ends at the next tick and counts the time it took, as STOP does.
    if (m_training.allFound())
        showStop(Training::Phase::Recall);
    // Emptying the box is a change too; the empty box finds nothing more.
    f->Text4->clear();
}

void frmvaruva::Text4_KeyDown(int keyCode)
{
    if (keyCode != keys::enter)
        return;
    if (message(QStringLiteral("Вы хотите закончить воспроизведение слов?"),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes)
        stopPhase();
}

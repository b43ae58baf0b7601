// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "results/score.h"

#include <QList>
#include <QString>

// One training, apart from the window that shows it: the words and which of them are found, the
// memorising and recall phases with their seconds left, the seconds each phase used, and what the
// score is computed from. It runs on the ticks it is given, one a second: the window's timers in
// the program, the test's calls in the tests.
class Training
{
public:
    enum class Phase { None, Memorising, Recall };
    // What a tick did.
    enum class Step { Idle, Counted, RecallStarted, Ended };

    // The words, in grid order, start their memorising. The times lie in their ranges.
    void start(QList<QString> words, int memoriseSeconds, int recallSeconds, int baseLevel);
    // A confirmed switch to another page: no phase runs any more, and nothing is scored.
    void abandon() { m_phase = Phase::None; }

    // One second of the running phase. At 0 the memorising switches to the recall, and the recall
    // ends the training, which is then scored.
    Step tick();
    // STOP: the running phase ends at its next tick. Its first stop records the seconds it used,
    // at least its range's lower bound; a later one changes nothing. Returns whether it recorded.
    bool stop();
    // The recall box holds this text. Returns the slots it finds: the first hidden word equal to
    // the text upper-cased, and, once the box is emptied for it (or is empty), every hidden empty
    // word. When all are found, the recall stops as STOP stops it.
    QList<int> enter(const QString &text);

    Phase phase() const { return m_phase; }
    bool running() const { return m_phase != Phase::None; }
    int memoriseLeft() const { return m_memoriseLeft; }
    int recallLeft() const { return m_recallLeft; }
    int memoriseUsed() const { return m_memoriseUsed; }
    int recallUsed() const { return m_recallUsed; }
    qsizetype wordCount() const { return m_words.size(); }
    bool found(qsizetype slot) const { return m_found.value(slot); }
    int foundCount() const { return m_foundCount; }
    bool allFound() const { return m_foundCount == m_words.size(); }
    score::Inputs scoreInputs() const;

private:
    Phase m_phase = Phase::None;
    QList<QString> m_words;
    QList<bool> m_found;
    int m_foundCount = 0;
    int m_memoriseLeft = 0;
    int m_recallLeft = 0;
    int m_memoriseUsed = 0;
    int m_recallUsed = 0;
    bool m_memoriseStopped = false;
    bool m_recallStopped = false;
    int m_baseLevel = 0;
};

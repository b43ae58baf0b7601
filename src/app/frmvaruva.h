// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "form.h"
#include "training/training.h"

#include <QMessageBox>
#include <QPointer>

#include <chrono>
#include <optional>
#include <random>

// The program's one window. Its controls live in a Form that a reset replaces as a whole; the
// handlers below are named after the control and event they serve and are spread over the
// subsystem folders (settings/, training/, results/, help/).
class frmvaruva : public QWidget
{
    Q_OBJECT
public:
    explicit frmvaruva(QWidget *parent = nullptr);

    Form *controls() const { return f; }
    // Tests fix the random picks; without a seed every training start seeds from the clock.
    void setSeed(std::optional<quint64> seed) { m_seed = seed; }
    // Tests tick the phases themselves: a long interval keeps the real timers from ticking.
    void setTickInterval(std::chrono::milliseconds interval);

    // Start-up and reset.
    void Form_Load();
    void resetWindow();

    // Menu and pages.
    void Label2_Click(int index);
    void Label2_MouseMove(int index);
    void Label3_MouseMove();
    void startAction();
    void settingsAction();
    void helpAction();
    void exitAction();

    // Shortcuts.
    void Form_KeyDown(int keyCode);
    void Form_KeyUp(int keyCode);
    void Form_Activate();

    // Settings.
    void nastr();
    void Text123_Change();
    void File1_Click();
    void Command1_Click();
    void Command2_Click();

    // Training.
    void zap();
    void Timer1_Timer();
    void Timer2_Timer();
    void Command3_Click();
    void Command3_MouseMove();
    void stopPhase();
    void Text4_Change();
    void Text4_KeyDown(int keyCode);

    // Results: the recall's last tick shows them.
    void showResults();
    void Command4_Click();

    // Help and credits.
    void helpLink_Click(vb::Label *link);
    void helpLink_MouseMove(vb::Label *link);
    void Command5_Click();
    void Frame6_MouseMove();
    void Label4_Click();

    bool trainingRunning() const;

    // A modal box titled "Darizi2", without an icon, with Russian button captions.
    QMessageBox::StandardButton message(const QString &text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // A fresh set of controls in their design state, connected and loaded.
    void buildControls();
    void connectHandlers();
    bool switchAllowed();
    void showSettingsPage();
    void showHelpPage();
    void reportPickError(const QString &text);
    void showStop(Training::Phase stopped);

    Form *f = nullptr;
    Form *m_retired = nullptr; // the controls the last reset replaced
    bool m_altHeld = false;
    std::optional<quint64> m_seed;
    std::chrono::milliseconds m_tickInterval{1000};
    std::mt19937_64 m_rng;
    bool m_lastFileWarned = false;
    Training m_training; // the training the controls show; a reset starts with none
};

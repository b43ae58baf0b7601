// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The menu band, page switching and the keyboard shortcuts of the main window.
#include "frmvaruva.h"

#include "common/paths.h"
#include "keys.h"

#include <QCoreApplication>

void frmvaruva::Label2_Click(int index)
{
    switch (index) {
    case 0:
        startAction();
        break;
    case 1:
        settingsAction();
        break;
    case 2:
        helpAction();
        break;
    case 3:
        exitAction();
        break;
    }
}

void frmvaruva::startAction()
{
    resetWindow();
    f->Frame1->setVisible(false);
    f->Frame2->setVisible(false);
    f->Frame4->setVisible(false);
    f->Frame3->setVisible(true);
    zap();
}

bool frmvaruva::switchAllowed()
{
    // Abandoning a training needs a yes; the answer counts only while the training still runs,
    // and a training that ended by itself meanwhile lets the switch through anyway.
    if (trainingRunning()) {
        if (message(QStringLiteral("Это действие сбросит текущий процесс"),
                    QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok) {
            m_training.abandon();
            f->Timer1->stop();
            f->Timer2->stop();
            return true;
        }
    }
    return !trainingRunning();
}

void frmvaruva::showSettingsPage()
{
    f->Frame1->setVisible(false);
    f->Frame3->setVisible(false);
    f->Frame4->setVisible(false);
    f->Frame2->setVisible(true);
    f->Frame5->setVisible(false);
    f->Frame6->setVisible(false);
}

void frmvaruva::showHelpPage()
{
    f->Frame1->setVisible(false);
    f->Frame3->setVisible(false);
    f->Frame4->setVisible(false);
    f->Frame2->setVisible(false);
    f->Frame5->setVisible(false);
    f->Frame6->setVisible(true);
}

void frmvaruva::settingsAction()
{
    if (!switchAllowed())
        return;
    showSettingsPage();
    // Word bases added while the program runs show up when the page opens.
    f->File1->setPath(paths::mfilesDir());
    nastr();
    // The first box takes what is typed next, however the page was opened.
    f->Text1->setFocus();
}

void frmvaruva::helpAction()
{
    if (!switchAllowed())
        return;
    showHelpPage();
    // The keyboard goes on from the first topic.
    f->Label54->setFocus();
}

void frmvaruva::exitAction()
{
    close();
}

void frmvaruva::Label2_MouseMove(int index)
{
    if (f->Label2[index]->backColor() != vb::grey)
        return;
    for (vb::Label *item : f->Label2)
        item->setBackColor(vb::grey);
    f->Label2[index]->setBackColor(vb::darkBlue);
}

void frmvaruva::Label3_MouseMove()
{
    for (vb::Label *item : f->Label2) {
        if (item->backColor() != vb::grey)
            item->setBackColor(vb::grey);
    }
}

void frmvaruva::Form_KeyDown(int keyCode)
{
    if (keyCode == keys::alt)
        m_altHeld = true;
    if (!m_altHeld)
        return;
    switch (keyCode) {
    case keys::letterN:
        startAction();
        break;
    case keys::letterQ:
        close();
        QCoreApplication::quit();
        break;
    case keys::letterH:
        helpAction();
        break;
    case keys::letterP:
        settingsAction();
        break;
    default:
        break;
    }
}

void frmvaruva::Form_KeyUp(int keyCode)
{
    if (keyCode == keys::alt)
        m_altHeld = false;
}

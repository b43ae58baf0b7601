// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "controls.h"
#include "settings/limits.h"

#include <QTimer>

#include <array>

// Every control of the main window in its design state: the menu band, the credits band and the
// six pages. The window builds a fresh Form at start-up and at every reset; the handlers live in
// the window and reach the controls through it. The names are the controls' own.
class Form : public QWidget
{
    Q_OBJECT
public:
    explicit Form(QWidget *parent);

    // Top level, topmost first.
    std::array<vb::Line *, 2> Line5{};
    vb::Label *Label4 = nullptr;
    vb::Label *Label1 = nullptr;
    std::array<vb::Line *, 4> Line1to4{}; // Line1..Line4
    std::array<vb::Label *, 4> Label2{};
    vb::Label *Label3 = nullptr;

    // Pages, topmost first.
    vb::Frame *Frame3 = nullptr;
    vb::Frame *Frame2 = nullptr;
    vb::Frame *Frame1 = nullptr;
    vb::Frame *Frame6 = nullptr;
    vb::Frame *Frame4 = nullptr;
    vb::Frame *Frame5 = nullptr;

    // Start page.
    vb::Label *Image1 = nullptr;
    vb::Label *Label5 = nullptr, *Label6 = nullptr, *Label7 = nullptr, *Label8 = nullptr;
    vb::Label *Label9 = nullptr, *Label10 = nullptr, *Label11 = nullptr;

    // Settings page.
    vb::Label *Image2 = nullptr;
    vb::Label *Label18 = nullptr, *Label49 = nullptr, *Label16 = nullptr, *Label22 = nullptr;
    vb::Label *Label17 = nullptr, *Label13 = nullptr, *Label19 = nullptr, *Label14 = nullptr;
    vb::Label *Label20 = nullptr, *Label15 = nullptr, *Label21 = nullptr, *Label12 = nullptr;
    vb::FileList *File1 = nullptr;
    vb::TextBox *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr;
    vb::Button *Command1 = nullptr, *Command2 = nullptr;

    // Training page.
    vb::Label *Label26 = nullptr;
    std::array<vb::Label *, limits::wordCount.high> Label25{};
    std::array<vb::Line *, 16> Line6to21{}; // Line6..Line21
    vb::Line *Line22 = nullptr, *Line23 = nullptr;
    vb::Label *Label23 = nullptr, *Label24 = nullptr;
    vb::Label *Label27 = nullptr, *Label29 = nullptr, *Label28 = nullptr;
    vb::TextBox *Text4 = nullptr;
    vb::Button *Command3 = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;

    // Results page.
    vb::Label *Label30 = nullptr;
    vb::Button *Command4 = nullptr;
    vb::Label *Label31 = nullptr, *Label33 = nullptr, *Label34 = nullptr;
    vb::Label *Label35 = nullptr, *Label36 = nullptr, *Label37 = nullptr, *Label38 = nullptr;
    vb::Label *Label39 = nullptr, *Label40 = nullptr, *Label41 = nullptr, *Label42 = nullptr;
    vb::Label *Label32 = nullptr, *Label43 = nullptr, *Label44 = nullptr, *Label45 = nullptr;
    vb::Label *Label46 = nullptr, *Label47 = nullptr, *Label48 = nullptr;
    std::array<vb::Line *, 6> Line24{}; // element 4 does not exist

    // Help topic page.
    vb::Label *Label50 = nullptr, *Label51 = nullptr;
    vb::Button *Command5 = nullptr;

    // Help contents page.
    vb::Label *Label52 = nullptr, *Label53 = nullptr;
    vb::Label *Label54 = nullptr, *Label55 = nullptr, *Label56 = nullptr, *Label58 = nullptr,
              *Label57 = nullptr;

    // The five help links, in the order they are listed on the page.
    std::array<vb::Label *, 5> helpLinks() const { return {Label54, Label55, Label56, Label58, Label57}; }
    std::array<vb::Frame *, 6> pages() const { return {Frame1, Frame2, Frame3, Frame4, Frame5, Frame6}; }

private:
    void buildTopLevel();
    void buildStartPage();
    void buildSettingsPage();
    void buildTrainingPage();
    void buildResultsPage();
    void buildHelpPages();
    void setTabOrder();
};

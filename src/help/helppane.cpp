// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The built-in help pages and the credits line.
#include "app/frmvaruva.h"
#include "helptexts.h"

#include <QClipboard>
#include <QGuiApplication>

void frmvaruva::helpLink_Click(vb::Label *link)
{
    helptexts::Topic topic;
    if (link == f->Label54)
        topic = helptexts::settings();
    else if (link == f->Label55)
        topic = helptexts::work();
    else if (link == f->Label56)
        topic = helptexts::results();
    else if (link == f->Label58)
        topic = helptexts::hotkeys();
    else
        topic = helptexts::otherProgram(f->Label57->caption());
    f->Frame5->show();
    f->Frame6->hide();
    f->Command5->setFocus();
    f->Label50->setCaption(topic.title);
    f->Label51->setCaption(topic.text);
    // The longest topic needs a line more than the page has at the normal size.
    f->Label51->setFont(f->font()); // back to the default size before fitting this topic
    f->Label51->shrinkToFit(9);
}

void frmvaruva::helpLink_MouseMove(vb::Label *link)
{
    link->setUnderline(true);
}

void frmvaruva::Frame6_MouseMove()
{
    for (vb::Label *link : f->helpLinks())
        link->setUnderline(false);
}

void frmvaruva::Command5_Click()
{
    f->Frame5->hide();
    f->Frame6->show();
    f->Label54->setFocus();
}

void frmvaruva::Label4_Click()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(helptexts::webAddress());
    message(QStringLiteral("Адрес в интернете скопирован в буфер обмена"));
}

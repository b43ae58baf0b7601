// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "accessible.h"

#include "frmvaruva.h"

#include <QAccessibleWidget>

#include <utility>

namespace
{

// A menu item or a link: its caption is its name, and pressing it is a click.
class ActingLabel : public QAccessibleWidget
{
public:
    explicit ActingLabel(vb::Label *label) : QAccessibleWidget(label, label->actingRole()) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return label()->text();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &name) override
    {
        if (name == pressAction())
            emit label()->clicked();
        else
            QAccessibleWidget::doAction(name);
    }
    QStringList keyBindingsForAction(const QString &name) const override
    {
        if (name == pressAction() && !label()->shortcut().isEmpty())
            return {label()->shortcut().toString(QKeySequence::NativeText)};
        return QAccessibleWidget::keyBindingsForAction(name);
    }

private:
    vb::Label *label() const { return static_cast<vb::Label *>(widget()); }
};

// The window is a frame titled as on screen. Of its children only the controls in use count: the
// set a reset replaced stays, hidden, until the next reset deletes it, and is no longer part of it.
class Window : public QAccessibleWidget
{
public:
    explicit Window(frmvaruva *window) : QAccessibleWidget(window, QAccessible::Window) {}

    int childCount() const override { return 1; }
    QAccessibleInterface *child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(controls()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child && child->object() == controls() ? 0 : -1;
    }

private:
    Form *controls() const { return static_cast<frmvaruva *>(widget())->controls(); }
};

QAccessibleInterface *interfaceFor(const QString &, QObject *object)
{
    if (auto *label = qobject_cast<vb::Label *>(object); label && label->actingRole() != QAccessible::NoRole)
        return new ActingLabel(label);
    if (auto *window = qobject_cast<frmvaruva *>(object))
        return new Window(window);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static bool installed = false;
    if (!std::exchange(installed, true))
        QAccessible::installFactory(interfaceFor);
}

#pragma once

// Helpers every test uses: table rows on one line, and texts as the program's files hold them.

#include "common/textcodec.h"

#include <QTest>

// One row of a data-driven test on one line: addRow("name", a, b, c) is
// QTest::newRow("name") << a << b << c.
template <typename... Values> void addRow(const char *name, const Values &...values)
{
    (QTest::newRow(name) << ... << values);
}

// Text as a Windows-1251 file holds it; the test's text must fit.
inline QByteArray cp1251(QStringView text)
{
    return textcodec::toWindows1251(text).value_or("(not Windows-1251)");
}

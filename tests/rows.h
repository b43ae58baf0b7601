#pragma once

// Helpers every test uses: tables with a row on one line, and texts as the program's files hold
// them.

#include "common/textcodec.h"

#include <QTest>

#include <tuple>
#include <utility>

// A table's columns as one tuple type, Row: columns<Row>() adds them, addRow("name", a, b, c) adds
// the row "name", and `const auto [a, b, c] = fetch<Row>();` reads the current row back.
template <typename Row> void columns()
{
    static constexpr const char *names[] = {"0", "1", "2", "3", "4", "5", "6", "7"};
    [&]<std::size_t... I>(std::index_sequence<I...>)
    {
        (QTest::addColumn<std::tuple_element_t<I, Row>>(names[I]), ...);
    }
    (std::make_index_sequence<std::tuple_size_v<Row>>());
}

template <typename... Values> void addRow(const char *name, const Values &...values)
{
    (QTest::newRow(name) << ... << values);
}

template <typename Row> Row fetch()
{
    static constexpr const char *names[] = {"0", "1", "2", "3", "4", "5", "6", "7"};
    return [&]<std::size_t... I>(std::index_sequence<I...>)
    {
        return Row{*static_cast<std::tuple_element_t<I, Row> *>(
            QTest::qData(names[I], qMetaTypeId<std::tuple_element_t<I, Row>>()))...};
    }
    (std::make_index_sequence<std::tuple_size_v<Row>>());
}

// Text as a Windows-1251 file holds it; the test's text must fit.
inline QByteArray cp1251(QStringView text)
{
    return textcodec::toWindows1251(text).value_or("(not Windows-1251)");
}

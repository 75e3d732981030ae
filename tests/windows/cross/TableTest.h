#pragma once

// A small table-driven test runner for the programs that have no Qt: every row of a table runs
// as one case named "table/row", a failed check reports the case, the line and both values,
// and the run ends with the line "N passed, N failed".

#include <cstdio>
#include <exception>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

namespace tabletest {

inline std::string Show(const std::string &text)
{
    std::string shown = "\"";
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F) {
            shown += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", u);
            shown += escaped;
        }
    }
    return shown + "\"";
}

inline std::string Show(const std::wstring &text)
{
    std::string shown = "L\"";
    for (const wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            shown += char(c);
        } else {
            char escaped[12];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", unsigned(c));
            shown += escaped;
        }
    }
    return shown + "\"";
}

inline std::string Show(const char *text)
{
    return Show(std::string(text));
}

inline std::string Show(const wchar_t *text)
{
    return Show(std::wstring(text));
}

inline std::string Show(bool value)
{
    return value ? "true" : "false";
}

template<class T> std::enable_if_t<std::is_arithmetic_v<T>, std::string> Show(T value)
{
    return std::to_string(value);
}

template<class T> std::string Show(const std::vector<T> &values)
{
    std::string shown = "{";
    for (std::size_t i = 0; i < values.size(); ++i)
        shown += (i ? ", " : "") + Show(values[i]);
    return shown + "}";
}

// The checks of one case.
class Case
{
public:
    template<class A, class E>
    bool Equal(const A &actual, const E &expected, const char *expression, int line)
    {
        if (actual == expected)
            return true;
        Fail(line,
             std::string(expression) + " is " + Show(actual) + ", expected " + Show(expected));
        return false;
    }
    bool True(bool condition, const char *expression, int line)
    {
        if (!condition)
            Fail(line, std::string(expression) + " is false");
        return condition;
    }
    void Fail(int line, const std::string &what)
    {
        m_failures.push_back("line " + std::to_string(line) + ": " + what);
    }
    const std::vector<std::string> &Failures() const { return m_failures; }

private:
    std::vector<std::string> m_failures;
};

class Runner
{
public:
    void Run(const std::string &name, const std::function<void(Case &)> &body)
    {
        Case c;
        try {
            body(c);
        } catch (const std::exception &e) {
            c.Fail(0, std::string("exception: ") + e.what());
        }
        if (c.Failures().empty()) {
            ++m_passed;
            std::printf("ok   %s\n", name.c_str());
        } else {
            ++m_failed;
            std::printf("FAIL %s\n", name.c_str());
            for (const std::string &failure : c.Failures())
                std::printf("     %s\n", failure.c_str());
        }
        std::fflush(stdout);
    }
    // Runs body once per row; a row names itself in its member name.
    template<class Row>
    void Table(const std::string &table, const std::vector<Row> &rows,
               const std::function<void(Case &, const Row &)> &body)
    {
        for (const Row &row : rows)
            Run(table + "/" + row.name, [&](Case &c) { body(c, row); });
    }
    // Prints the closing line; the process's exit code: 0 when nothing failed.
    int Finish() const
    {
        std::printf("%d passed, %d failed\n", m_passed, m_failed);
        std::fflush(stdout);
        return m_failed == 0 ? 0 : 1;
    }

private:
    int m_passed = 0;
    int m_failed = 0;
};

} // namespace tabletest

#define CHECK_EQ(c, actual, expected) (c).Equal((actual), (expected), #actual, __LINE__)
#define CHECK(c, condition) (c).True((condition), #condition, __LINE__)

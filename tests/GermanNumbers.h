#pragma once
// Tests of texts that hold numbers: the C library switched to German numbers, as a
// host under a German user's locale has it.

#include <QByteArray>
#include <QProcess>
#include <QTemporaryDir>

#include <clocale>
#include <cstdlib>
#include <string>

// The C library's numbers in German for as long as it lives: a comma before the
// fraction. The locale is built from the system's sources when none is installed.
class CGermanNumbers {
public:
    CGermanNumbers() : m_saved(std::setlocale(LC_NUMERIC, nullptr)), m_locpath(qgetenv("LOCPATH"))
    {
        if (Take()) return;
        if (!m_built.isValid()) return;
        const int built = QProcess::execute(QStringLiteral("localedef"),
                                            {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                                             QStringLiteral("UTF-8"), m_built.filePath(QStringLiteral("de_DE.UTF-8"))});
        if (built != 0) return;
        qputenv("LOCPATH", m_built.path().toLocal8Bit());
        Take();
    }

    ~CGermanNumbers()
    {
        std::setlocale(LC_NUMERIC, m_saved.c_str());
        if (m_locpath.isNull()) qunsetenv("LOCPATH");
        else qputenv("LOCPATH", m_locpath);
    }

    CGermanNumbers(const CGermanNumbers&) = delete;
    CGermanNumbers& operator=(const CGermanNumbers&) = delete;

    bool Active() const { return std::strtod("0.5", nullptr) == 0.0; }

private:
    static bool Take() { return std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr; }

    std::string m_saved;
    QByteArray m_locpath;
    QTemporaryDir m_built;
};

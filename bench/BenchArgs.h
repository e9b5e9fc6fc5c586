#pragma once
// The command line of a benchmark: plain words (counts, mostly) in their
// order, options that take the next word as their value ("--db PATH"), and
// flags ("--keep"). Anything else starting with "--", or an option without
// its value, makes the line bad, for the program's usage message.

#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <set>

class BenchArgs {
public:
    BenchArgs(int argc, char** argv, std::initializer_list<const char*> valued = {},
              std::initializer_list<const char*> flags = {}) {
        const std::set<QString> withValue(valued.begin(), valued.end());
        const std::set<QString> known(flags.begin(), flags.end());
        for (int i = 1; i < argc; ++i) {
            const QString a = QString::fromLocal8Bit(argv[i]);
            if (withValue.count(a) && i + 1 < argc)
                values_[a] = QString::fromLocal8Bit(argv[++i]);
            else if (known.count(a))
                flags_.insert(a);
            else if (a.startsWith(QLatin1String("--")) || withValue.count(a))
                bad_ = true;
            else
                words_ << a;
        }
    }

    // Plain word `n` (from 0) as a number of at least `min`, read as atoi
    // reads it (a word that is no number counts as 0); `def` without it.
    int number(int n, int def, int min = 1) const {
        return n < words_.size() ? std::max(min, atoi(words_[n].toLocal8Bit().constData())) : def;
    }
    QString word(int n) const { return words_.value(n); }
    bool has(const char* flag) const { return flags_.count(QString::fromLatin1(flag)) != 0; }
    QString value(const char* option) const {
        const auto it = values_.find(QString::fromLatin1(option));
        return it == values_.end() ? QString() : it->second;
    }

    // For programs whose plain words can only be a count above 0 (the last
    // one counts): the count, `def` without one; false in `ok` for a bad
    // line or any other word.
    int count(int def, bool& ok) const {
        ok = !bad_;
        int n = def;
        for (const QString& w : words_) {
            const int v = w.toInt();
            ok = ok && v > 0;
            n = v > 0 ? v : n;
        }
        return n;
    }

    // Prints "usage: LINE" and gives the exit status for it.
    static int usage(const char* line) {
        std::fprintf(stderr, "usage: %s\n", line);
        return 2;
    }

private:
    QStringList words_;
    std::map<QString, QString> values_;
    std::set<QString> flags_;
    bool bad_ = false;
};

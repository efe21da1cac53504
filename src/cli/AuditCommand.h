#pragma once

#include "cli/CliCommand.h"

class LuckAudit;

// quessar-cli auditar: the luck audit of session records and of "dados --json" output, against
// the exact odds of every expression rolled (LuckAudit).
class AuditCommand final : public CliCommand
{
public:
    // Broken lines named one by one in each file; past that only their count.
    static constexpr qint64 MaxNamedBrokenLines = 10;

    QString name() const override { return QStringLiteral("auditar"); }
    QString summary() const override
    {
        return QStringLiteral("Audita a sorte de registros de sessão contra as chances exatas.");
    }
    int run(const QStringList &arguments, CliOutput &out, CliOutput &err) override;

private:
    struct Filter
    {
        QStringList only;    // --rotulo: keep only these labels (when any)
        QStringList without; // --sem-rotulo: leave these out
    };

    // Feeds every roll of `path` ("-": standard input) that the filter keeps to `audit`,
    // naming broken lines on `err`. False, after saying why, when the file cannot be read.
    bool readInto(const QString &path, const Filter &filter, LuckAudit &audit, CliOutput &err) const;
};

#pragma once

#include "cli/CliCommand.h"

// quessar-cli nomes: names from masks, one per line or joined by a separator, streamed as
// UTF-8 straight into the output buffer.
class NamesCommand final : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("nomes"); }
    QString summary() const override { return QStringLiteral("Gera nomes a partir de máscaras."); }
    int run(const QStringList &arguments, CliOutput &out, CliOutput &err) override;

    static constexpr qint64 MaximumCount = 1'000'000;
    static QString defaultMask() { return QStringLiteral("$!!@"); }
};

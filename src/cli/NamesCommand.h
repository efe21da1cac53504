#pragma once

#include "cli/CliCommand.h"

// quessar-cli nomes
class NamesCommand final : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("nomes"); }
    QString summary() const override { return QStringLiteral("Gera nomes a partir de máscaras."); }
    int run(const QStringList &arguments, CliOutput &out, CliOutput &err) override;
};

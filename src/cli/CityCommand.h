#pragma once

#include "cli/CliCommand.h"

// quessar-cli cidade
class CityCommand final : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("cidade"); }
    QString summary() const override { return QStringLiteral("Gera o relatório de uma cidade."); }
    int run(const QStringList &arguments, CliOutput &out, CliOutput &err) override;
};

#pragma once

#include "cli/CliCommand.h"

// quessar-cli dados
class DiceCommand final : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("dados"); }
    QString summary() const override { return QStringLiteral("Rola dados em notação padrão (3d6, 4d6kh3, 2d20kl1+5…)."); }
    int run(const QStringList &arguments, CliOutput &out, CliOutput &err) override;
};

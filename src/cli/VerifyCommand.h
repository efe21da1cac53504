#pragma once

#include "cli/CliCommand.h"

// quessar-cli verificar: checks a session record (RecordVerifier) and says what it proves.
class VerifyCommand final : public CliCommand
{
public:
    // The exit status of a record that does not verify.
    static constexpr int ExitNotVerified = 3;

    QString name() const override { return QStringLiteral("verificar"); }
    QString summary() const override
    {
        return QStringLiteral("Confere um registro de sessão, rolagem por rolagem.");
    }
    int run(const QStringList &arguments, CliOutput &out, CliOutput &err) override;
};

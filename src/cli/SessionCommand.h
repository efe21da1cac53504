#pragma once

#include "cli/CliCommand.h"

// quessar-cli sessao: verifiable sessions. "abrir" makes a record whose header commits to a
// fresh secret (kept beside it), "sal" records the players' salt before any roll, "fechar"
// reveals the secret and ends the session. Everything is appended under the record's lock.
class SessionCommand final : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("sessao"); }
    QString summary() const override
    {
        return QStringLiteral("Abre, salga e fecha uma sessão de dados verificável.");
    }
    int run(const QStringList &arguments, CliOutput &out, CliOutput &err) override;

private:
    int open(const QString &path, CliOutput &out, CliOutput &err) const;
    int salt(const QString &path, const QString &text, CliOutput &out, CliOutput &err) const;
    int close(const QString &path, CliOutput &out, CliOutput &err) const;
    int refused(CliOutput &err, const QString &path, const QString &reason) const;
};

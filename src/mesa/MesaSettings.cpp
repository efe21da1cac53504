#include "mesa/MesaSettings.h"

#include "common/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QList<SavedRoll> MesaSettings::exampleRolls()
{
    return {
        {QStringLiteral("Ataque com vantagem"), QStringLiteral("2d20kh1+5")},
        {QStringLiteral("Bola de fogo"), QStringLiteral("8d6")},
        {QStringLiteral("Atributos"), QStringLiteral("4d6kh3")},
        {QStringLiteral("Vampiro"), QStringLiteral("10d10>=8f1")},
    };
}

bool MesaSettings::load(const QString &path, QString &error)
{
    *this = MesaSettings();
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    // Far more than any real settings: a huge file is not ours.
    if (file.size() > 16 * 1024 * 1024) {
        error = QStringLiteral("o arquivo é grande demais");
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        error = QStringLiteral("não é JSON válido (posição %1)").arg(parseError.offset);
        return false;
    }
    const QJsonObject root = document.object();
    if (!document.isObject() || root.value(QStringLiteral("mesa")).toInt() != 1) {
        error = QStringLiteral("não é um arquivo de configurações da mesa");
        return false;
    }
    geometry = QByteArray::fromBase64(root.value(QStringLiteral("geometria")).toString().toLatin1());
    for (const QJsonValue &value : root.value(QStringLiteral("historico")).toArray()) {
        if (value.isString() && !value.toString().isEmpty())
            history << value.toString();
    }
    if (history.size() > MaxHistory)
        history = history.sliced(history.size() - MaxHistory);
    if (root.contains(QStringLiteral("salvas"))) {
        saved.clear();
        for (const QJsonValue &value : root.value(QStringLiteral("salvas")).toArray()) {
            const QJsonObject roll = value.toObject();
            const QString name = roll.value(QStringLiteral("nome")).toString();
            const QString expression = roll.value(QStringLiteral("expressao")).toString();
            if (!name.isEmpty() && !expression.isEmpty() && saved.size() < MaxSavedRolls)
                saved.append({name, expression});
        }
    }
    return true;
}

bool MesaSettings::save(const QString &path, QString &error) const
{
    QJsonArray rolls;
    for (const SavedRoll &roll : saved)
        rolls.append(QJsonObject{{QStringLiteral("nome"), roll.name},
                                 {QStringLiteral("expressao"), roll.expression}});
    const QJsonObject root{
        {QStringLiteral("mesa"), 1},
        {QStringLiteral("geometria"), QString::fromLatin1(geometry.toBase64())},
        {QStringLiteral("historico"), QJsonArray::fromStringList(history)},
        {QStringLiteral("salvas"), rolls},
    };
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        error = QStringLiteral("não foi possível criar a pasta %1").arg(QFileInfo(path).absolutePath());
        return false;
    }
    return AtomicFile::write(path, QJsonDocument(root).toJson(QJsonDocument::Indented), &error);
}

QString MesaSettings::moveAside(const QString &path)
{
    const QString aside = path + QStringLiteral(".invalido");
    QFile::remove(aside);
    return QFile::rename(path, aside) ? aside : QString();
}

void MesaSettings::remember(const QString &expression)
{
    if (expression.isEmpty() || (!history.isEmpty() && history.constLast() == expression))
        return;
    history << expression;
    if (history.size() > MaxHistory)
        history.removeFirst();
}

// The floor for quessar-cli's start-up: a program linked with QtCore that prints one line
// built from a QString, and nothing else.
#include <QString>

#include <cstdio>

int main()
{
    const QString line = QStringLiteral("quessar\n");
    std::fputs(line.toUtf8().constData(), stdout);
    return 0;
}

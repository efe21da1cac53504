// The dice table's start-up with a reporter of its first paint. With --widgets it shows
// instead a main window holding the same kinds of widgets (menu, line edit, buttons, labels,
// a drop-down list, a painted chart area, three lists, status bar) and no logic: the floor
// for a window like it.
#include "FirstPaintReporter.h"
#include "common/ApplicationSetup.h"
#include "mesa/frmMesaDados.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <memory>

namespace {

std::unique_ptr<QMainWindow> widgetsAlone()
{
    auto window = std::make_unique<QMainWindow>();
    window->menuBar()->addMenu(QStringLiteral("&Mesa"))->addAction(QStringLiteral("&Sair"));
    window->menuBar()->addMenu(QStringLiteral("Aj&uda"));
    auto *central = new QWidget(window.get());
    auto *layout = new QVBoxLayout(central);
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("&Expressão:"), central));
    row->addWidget(new QLineEdit(central), 1);
    row->addWidget(new QPushButton(QStringLiteral("&Rolar"), central));
    layout->addLayout(row);
    layout->addWidget(new QLabel(QStringLiteral("média 10,5"), central));
    auto *view = new QHBoxLayout;
    auto *choice = new QComboBox(central);
    choice->addItems({QStringLiteral("exatamente"), QStringLiteral("pelo menos")});
    view->addWidget(choice);
    view->addWidget(new QPushButton(QStringLiteral("&Fixar"), central));
    layout->addLayout(view);
    auto *chart = new QHBoxLayout;
    auto *area = new QWidget(central);
    area->setAutoFillBackground(true);
    area->setBackgroundRole(QPalette::Base);
    chart->addWidget(area, 1);
    chart->addWidget(new QListWidget(central));
    layout->addLayout(chart, 1);
    auto *lists = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        auto *view = new QListView(central);
        view->setModel(new QStringListModel(i ? QStringList{QStringLiteral("Bola de fogo: 8d6")}
                                              : QStringList{}, view));
        lists->addWidget(view);
    }
    layout->addLayout(lists, 1);
    auto *buttons = new QHBoxLayout;
    for (const char *caption : {"&Guardar", "Re&nomear", "Su&bir", "&Descer", "Remo&ver"})
        buttons->addWidget(new QPushButton(QString::fromUtf8(caption), central));
    layout->addLayout(buttons);
    window->setCentralWidget(central);
    window->statusBar()->addWidget(new QLabel(QStringLiteral("Registro:"), window.get()));
    window->resize(960, 620);
    return window;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    new FirstPaintReporter(&app);
    std::unique_ptr<QMainWindow> window;
    QTemporaryDir home; // settings and record of a first run, left nowhere
    if (QCoreApplication::arguments().contains(QStringLiteral("--widgets"))) {
        window = widgetsAlone();
    } else {
        InstallQtTranslation();
        window = std::make_unique<frmMesaDados>(MesaOptions::within(home.path()));
    }
    window->show();
    return QApplication::exec();
}

// Tunvex: mine ventilation networks.
#include <QtWidgets/QApplication>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMainWindow>

#include "platform/ui/qt_prompt.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tunvex"));
    TQtPrompt prompt;
    SetPrompt(&prompt);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tunvex"));
    window.setCentralWidget(new QLabel(QStringLiteral("Tunvex"), &window));
    window.resize(1024, 700);
    window.show();
    return app.exec();
}

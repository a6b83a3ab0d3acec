#include "ui/placeholder_window.h"

#include <QApplication>
#include <QLabel>
#include <QString>

namespace quillet {

int run_placeholder_window(const std::string& title, int width, int height) {
    // The program reads no command line: Qt gets the program name only.
    int argument_count = 1;
    char program_name[] = "quillet";
    char* arguments[] = {program_name, nullptr};
    QApplication application(argument_count, arguments);

    QLabel window;
    window.setWindowTitle(QString::fromStdString(title));
    window.setText(QString::fromStdString(title));
    window.setAlignment(Qt::AlignCenter);
    window.resize(width, height);
    window.show();
    return QApplication::exec();
}

}  // namespace quillet

#include "app/startupfailure.h"

#include <cstdio>
#include <exception>

#include <QApplication>
#include <QMessageBox>

namespace brevanto {

int runReportingStartupFailure(const std::function<int()>& program,
                               const std::function<void(const std::string&)>& report) {
    try {
        return program();
    } catch (const std::exception& error) {
        report(error.what());
    } catch (...) {
        report("an unknown error");
    }
    return kStartupFailed;
}

void reportStartupFailure(const std::string& what) {
    const std::string text = "Brevanto could not start: " + what;
    std::fprintf(stderr, "brevanto: %s\n", text.c_str());
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        QMessageBox::critical(nullptr, QStringLiteral("Brevanto"), QString::fromStdString(text));
    }
}

}  // namespace brevanto

#include "formbench.h"

#include <QApplication>
#include <QListView>
#include <QTest>

#include "ui/eventloopdrain.h"

namespace brevanto::testing {

void FormBench::placeSimulator() {
    sim = std::make_unique<SimProcess>();
}

void FormBench::create(const std::string& ini, bool trayAvailable) {
    std::string text = ini;
    if (sim) {
        text += "\n[Ports]\nCOM1=" + sim->linkPath().string() + "\n";
    }
    writeFile(dir / "brevanto.INI", text);
    form = std::make_unique<TForm1>(
        HubEnvironment{clock, DateTimeFormat{"%d.%m.%Y", "%H:%M:%S"}, prompts, invoker, dir.path(),
                       dir / "brevanto.INI", false},
        trayAvailable);
    form->FormCreate();
}

bool FormBench::spinUntil(const std::function<bool()>& done) {
    return QTest::qWaitFor(done, 30000);
}

QStringList FormBench::paneLines() {
    QStringList lines;
    const QAbstractItemModel* model = control<QListView>("Memo1")->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        lines << model->index(row, 0).data().toString();
    }
    return lines;
}

bool FormBench::hasEvent(const std::string& suffix) {
    const QString wanted = QString::fromStdString(suffix + " ");
    for (const QString& line : paneLines()) {
        if (line.endsWith(wanted)) {
            return true;
        }
    }
    return false;
}

}  // namespace brevanto::testing

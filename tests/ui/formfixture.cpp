#include "formfixture.h"

#include <QApplication>
#include <QFile>
#include <QListView>

#include "support/waituntil.h"
#include "ui/eventloopdrain.h"

namespace brevanto::testing {

QString amethystSheet() {
    QFile sheet(QStringLiteral(":/brevanto/amethyst.qss"));
    EXPECT_TRUE(sheet.open(QIODevice::ReadOnly | QIODevice::Text));
    return QString::fromUtf8(sheet.readAll());
}

void FormFixture::create(const std::string& ini, bool trayAtStart) {
    trayAvailable = trayAtStart;
    writeFile(dir / "brevanto.INI", ini);
    hub = std::make_unique<Hub>(
        HubEnvironment{clock,
                       DateTimeFormat{"%d.%m.%Y", "%H:%M:%S"},
                       prompts,
                       invoker,
                       dir.path(),
                       dir / "brevanto.INI",
                       serveWeb,
                       {.anyFreePortForTests = true},
                       [this](const MailJob& job, const auto& event, const std::atomic<bool>&) {
                           {
                               std::lock_guard lock(m_mailsMutex);
                               m_mails.push_back(job);
                           }
                           event("mailed: " + job.message.body);
                           return false;
                       }});
    form = std::make_unique<TForm1>(*hub, invoker, prompts, [this] { return trayAvailable; });
    form->FormCreate();
}

bool FormFixture::spinUntil(const std::function<bool()>& done) {
    return waitUntil(done, [] {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        pauseBriefly();
    });
}

std::vector<MailJob> FormFixture::mails() const {
    std::lock_guard lock(m_mailsMutex);
    return m_mails;
}

QStringList FormFixture::paneLines() {
    QStringList lines;
    const QAbstractItemModel* model = control<QListView>("Memo1")->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        lines << model->index(row, 0).data().toString();
    }
    return lines;
}

bool FormFixture::hasEvent(const std::string& suffix) {
    const QString wanted = QString::fromStdString(suffix + " ");
    for (const QString& line : paneLines()) {
        if (line.endsWith(wanted)) {
            return true;
        }
    }
    return false;
}

}  // namespace brevanto::testing

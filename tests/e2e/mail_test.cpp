// The built program mails a switch from line to battery through a real
// SMTP server on loopback, without holding the window.
#include <csignal>
#include <string>

#include <gtest/gtest.h>

#include "support/programprocess.h"
#include "support/simprocess.h"
#include "support/simsettings.h"
#include "support/smtpserverprocess.h"
#include "support/tempdir.h"
#include "support/waituntil.h"
#include "todaysfiles.h"

namespace brevanto {
namespace {

using testing::ProgramProcess;
using testing::readFile;
using testing::SimProcess;
using testing::SmtpServerProcess;
using testing::TempDir;
using testing::waitUntil;

TEST(MailProgramTest, ASwitchToBatteryIsMailedWhenOut4IsSet) {
    TempDir folder;
    SimProcess sim;
    SmtpServerProcess server;
    testing::writeFile(folder / "brevanto.INI",
                       std::string(testing::kAutoConnectToCom1) +
                           "[Mail]\nAddress=owner@example.test\nSMTP=" + server.host() +
                           "\nPort=" + std::to_string(server.port()) +
                           "\n[Trigger]\nOut 4=1\n[Http]\nPort=0\n[Ports]\nCOM1=" +
                           sim.linkPath().string() + "\n");
    const auto rows = folder.path() / testing::todaysLogFile("LogVariables", "BasicLog_", ".csv");
    ProgramProcess program(BREVANTO_PROGRAM_PATH, folder.path());
    ASSERT_TRUE(program.waitUntilHandling(SIGTERM));
    // The first sample shows real readings: the line mode has been read.
    ASSERT_TRUE(waitUntil(
        [&] {
            const std::string text = std::filesystem::exists(rows) ? readFile(rows) : "";
            return !text.empty() && text.find("---") == std::string::npos;
        },
        testing::pauseBriefly));
    ASSERT_EQ(sim.command("mode B"), "ok");
    ASSERT_TRUE(waitUntil([&] { return !server.receivedMails().empty(); }, testing::pauseBriefly));
    const testing::ReceivedMail mail = server.receivedMails().front();
    EXPECT_TRUE(mail.body.starts_with("Inverter switched from Line-bypass to Battery: "))
        << mail.body;
    EXPECT_EQ(mail.header("Subject"), std::vector<std::string>{"Message from Brevanto"});
    EXPECT_EQ(mail.mailFrom, "owner@example.test");
    program.sendSignal(SIGTERM);
    EXPECT_EQ(program.waitForExit(), 0);
}

}  // namespace
}  // namespace brevanto

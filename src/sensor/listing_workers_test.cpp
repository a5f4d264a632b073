#include <gtest/gtest.h>

#include "deadline.h"
#include "fake_world.h"
#include "listing_steps.h"
#include "private_folder.h"
#include "runs.h"
#include "worker.h"

namespace {

// A profile that passes every check, with the system number and mode given
// ("" leaves the line out, so that the value before it stays).
std::string profile(const std::string& destination, const std::string& sysnr, const std::string& mode) {
    std::string text = "Extcompany.: Wickerby Test\nDestination: " + destination +
                       "\nClient.....: 100\nUser.......: monitor\n"
                       "Password...: 5791RaLwuf<Zr+SmtRp/ev'w\nLanguage...: E\nHostname...: app01\n"
                       "Gwhost.....: gw01\nGwservice..: sapgw00\n";
    if (!sysnr.empty()) text += "Sysnr......: " + sysnr + "\n";
    if (!mode.empty()) text += "Mode.......: " + mode + "\n";
    return text;
}

std::string ending_text(Deadline& deadline) {
    return deadline.ending ? deadline.ending() : "(none)";
}

}  // namespace

// An armed ending gives way to the one before it when it goes, whichever
// way it was armed and however deep, with that one's exit code.
TEST(Deadline, AnArmedEndingArmsTheOneBeforeItAgainWhenItGoes) {
    Deadline deadline;
    set_deadline_ending(
        deadline, [] { return std::string("outer"); }, 2);
    {
        const ArmedEnding armed(
            deadline, [] { return std::string("inner"); }, 0);
        EXPECT_EQ(ending_text(deadline), "inner");
        EXPECT_EQ(deadline.endingExitCode, 0);
        {
            // Kept as it is, then changed as the run goes.
            const ArmedEnding kept(deadline);
            set_deadline_ending(
                deadline, [] { return std::string("changed"); }, 1);
            EXPECT_EQ(ending_text(deadline), "changed");
        }
        EXPECT_EQ(ending_text(deadline), "inner");
        EXPECT_EQ(deadline.endingExitCode, 0);
    }
    EXPECT_EQ(ending_text(deadline), "outer");
    EXPECT_EQ(deadline.endingExitCode, 2);
}

// Each system's worker is told the system number that the connection
// records would hold after the systems before it in the sequential run:
// none at first, then the last one given, which a system without one, a
// system through the gateway (R/2) or a failed profile does not change.
TEST(ListingWithWorkers, EachWorkerIsToldTheSystemNumberCarriedOver) {
    const struct {
        std::map<std::string, std::string> profiles;  // entry: profile text ("BAD" has no user)
        std::vector<int> told;                        // per connected system, in listing order
    } cases[] = {
        {{{"A1.P00", profile("AAA", "07", "R/3")}, {"B1.P00", profile("BBB", "", "")}}, {0, 7}},
        {{{"A1.P00", profile("AAA", "07", "R/3")},
          {"B1.P00", profile("BBB", "05", "R/2")},
          {"C1.P00", profile("CCC", "12", "R/3")},
          {"D1.P00", profile("DDD", "03", "R/3")}},
         {0, 7, 7, 12}},
        {{{"A1.P00", profile("AAA", "31", "R/3")},
          {"B1.P00", "Client.....: 200\nUser.......:\n"},
          {"C1.P00", profile("CCC", "", "")}},
         {0, 31}},
    };
    for (const auto& c : cases) {
        FakeWorld fake;
        std::vector<std::string> entries;
        for (const auto& [entry, text] : c.profiles) {
            fake.files[entry] = text;
            entries.push_back(entry);
        }
        const SensorWorld world = fake.world();
        RfcSession session;
        Deadline deadline;
        ProcessLock lock;
        const RunPlace place{session, world, deadline, lock};
        const std::string itemId = "Requests Dialog", directory;
        const SystemRun run{place, {}, itemId, LabelKind::Profile, directory, false, false, false, false, 0, nullptr};
        std::vector<int> told;
        for (const PlannedTurn& turn : plan_worker_turns(run, entries))
            if (connects(turn.system)) told.push_back(turn.request.systemNumber);
        EXPECT_EQ(told, c.told) << c.profiles.begin()->second;
    }
}

// What a worker left in its folder goes where the sequential run leaves it:
// its trace lines after the working directory's, its configuration over
// the working directory's; nothing changes for what it did not leave.
TEST(ListingWithWorkers, AWorkersFilesAreMergedIntoTheWorkingDirectory) {
    const struct {
        std::map<std::string, std::string> left;  // in the worker's folder
        std::map<std::string, std::string> after;
    } cases[] = {
        {{{"Dev_Rfc.Trc", "worker line\n"}, {"SapRfc.ini", "DEST=AAA\n"}},
         {{"Dev_Rfc.Trc", "earlier line\nworker line\n"}, {"SapRfc.ini", "DEST=AAA\n"}}},
        {{{"Dev_Rfc.Trc", "worker line\n"}},
         {{"Dev_Rfc.Trc", "earlier line\nworker line\n"}, {"SapRfc.ini", "DEST=OLD\n"}}},
        {{}, {{"Dev_Rfc.Trc", "earlier line\n"}, {"SapRfc.ini", "DEST=OLD\n"}}},
    };
    for (const auto& c : cases) {
        const std::optional<std::string> folder = private_folder_path();
        ASSERT_TRUE(folder && make_private_folder(*folder));
        for (const auto& [name, bytes] : c.left) ASSERT_TRUE(write_private_file(*folder, name, bytes));
        FakeWorld fake;
        fake.files = {{"Dev_Rfc.Trc", "earlier line\n"}, {"SapRfc.ini", "DEST=OLD\n"}};
        merge_worker_files(fake.world(), read_worker_files(*folder));
        remove_private_folder(*folder);
        EXPECT_EQ(fake.files, c.after);
    }
}

// A worker loads the library its parent loaded, whichever that is.
TEST(ListingWithWorkers, TheRequestCarriesTheParentsLibrary) {
    for (const LibraryChoice library : {LibraryChoice::either, LibraryChoice::classic, LibraryChoice::netWeaver}) {
        WorkerRequest request;
        request.profileName = "PRD.P00";
        request.systemNumber = 7;
        request.library = library;
        const std::string encoded = encode_request(request);
        const std::optional<WorkerRequest> decoded = decode_request(encoded.substr(encoded.find('\n') + 1));
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->library, library);
        EXPECT_EQ(decoded->systemNumber, 7);
        EXPECT_EQ(decoded->profileName, "PRD.P00");
    }
}

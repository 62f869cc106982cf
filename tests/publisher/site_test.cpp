#include "publisher/site.h"

#include <gtest/gtest.h>

#include "publisher/publish.h"
#include "publisher/site_lock.h"
#include "tests/publisher/publish_fixture.h"
#include "tests/publisher/scratch_folder.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

class SiteSwitch : public testing::Test {
protected:
    fs::path site() const { return scratch.path() / "site"; }

    PublishResult publish(const std::wstring& version, const std::string& content) {
        return publishFiles(scratch.path(), site(), version, {{u8"a.txt", content}, {u8"b/c.txt", content}}, observer);
    }

    // What a web server serves from the site: the list and the files, by their URLs.
    std::map<std::string, std::string> served() const { return snapshotTree(site() / "current"); }

    std::vector<std::string> releaseFolders() const {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(site() / "releases")) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    ScratchFolder scratch;
    RecordingObserver observer;
};

TEST_F(SiteSwitch, NewReleaseIsServedAndTheKeptOnesStay) {
    std::vector<std::string> names;
    for (const std::wstring version : {L"1.1", L"1.2", L"1.3"}) {
        const std::string content(version.begin(), version.end());
        const PublishResult result = publish(version, content);
        ASSERT_EQ(result.outcome, PublishOutcome::Published);
        names.push_back(result.report.releaseName);
        EXPECT_EQ(readServedList(site()).version, version);
        EXPECT_EQ(readBytes(site() / "current" / "GameClient" / "b" / "c.txt"), content);
    }
    // Two earlier releases are kept by default; the fourth publish removes the first.
    const PublishResult fourth = publish(L"1.4", "1.4");
    ASSERT_EQ(fourth.outcome, PublishOutcome::Published);
    ASSERT_EQ(fourth.report.removedReleases.size(), 1u);
    EXPECT_TRUE(fourth.report.removedReleases[0].find("_1.1") != std::string::npos);
    const std::vector<std::string> kept = releaseFolders();
#ifndef _WIN32
    EXPECT_EQ(fourth.report.removedReleases[0], names[0]);
    EXPECT_TRUE(fs::is_symlink(site() / "current"));
    EXPECT_EQ(fs::read_symlink(site() / "current"), fs::path("releases") / fourth.report.releaseName);
    EXPECT_EQ(kept, (std::vector<std::string>{names[1], names[2], fourth.report.releaseName}));
#else
    // The served release is the folder "current"; the earlier ones were moved aside.
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_TRUE(kept[0].ends_with("_1.2")) << kept[0];
    EXPECT_TRUE(kept[1].ends_with("_1.3")) << kept[1];
#endif
}

TEST_F(SiteSwitch, StoppedPublishLeavesTheServedReleaseAlone) {
    ASSERT_EQ(publish(L"1.0", "old").outcome, PublishOutcome::Published);
    const auto before = snapshotTree(site());
    observer.onProgress = [](const PublishProgress& p) { return p.itemsDone < 1; };
    const PublishResult result = publish(L"2.0", "new");
    EXPECT_EQ(result.outcome, PublishOutcome::Stopped);
    EXPECT_EQ(snapshotTree(site()), before) << "no staging folder is left and nothing is switched";
}

TEST_F(SiteSwitch, FailedPublishLeavesTheServedReleaseAlone) {
    ASSERT_EQ(publish(L"1.0", "old").outcome, PublishOutcome::Published);
    const auto before = snapshotTree(site());
    writeBytes(scratch / u8"next/a.txt", "new");
    writeBytes(scratch / u8"next/b.txt", "new");
    // The second file goes away while the first is copied.
    observer.onProgress = [&](const PublishProgress&) {
        fs::remove(scratch / u8"next/b.txt");
        return true;
    };
    PublishRequest request;
    request.releaseFolder = scratch / u8"next";
    request.siteFolder = site();
    request.version = L"2.0";
    const PublishResult result = publishRelease(request, observer);
    EXPECT_EQ(result.outcome, PublishOutcome::Failed);
    EXPECT_TRUE(result.failure.starts_with("b.txt: cannot open it: ")) << result.failure;
    EXPECT_EQ(snapshotTree(site()), before);
}

TEST_F(SiteSwitch, ReleaseLeftUnfinishedIsRemovedByTheNextPublish) {
    ASSERT_EQ(publish(L"1.0", "old").outcome, PublishOutcome::Published);
    writeBytes(site() / "releases" / ".staging-20000101-000000_1.5" / "patchlist.dat", "[VERSION]\r\n1.5\r\n");
    EXPECT_EQ(readServedList(site()).version, L"1.0");

    const PublishResult result = publish(L"2.0", "new");
    ASSERT_EQ(result.outcome, PublishOutcome::Published);
    EXPECT_EQ(observer.warnings, std::vector<std::string>{"removed releases/.staging-20000101-000000_1.5, left "
                                                          "behind by a publish that did not finish"});
    EXPECT_FALSE(fs::exists(site() / "releases" / ".staging-20000101-000000_1.5"));
    EXPECT_EQ(readServedList(site()).version, L"2.0");
}

TEST_F(SiteSwitch, OnePublisherAtATime) {
    ASSERT_EQ(publish(L"1.0", "old").outcome, PublishOutcome::Published);
    const auto before = snapshotTree(site());
    SiteLock other;
    std::string error;
    ASSERT_TRUE(other.acquire(site() / ".lobbex-publish.lock", error)) << error;
    writeBytes(scratch / u8"next/a.txt", "new");
    PublishRequest request;
    request.releaseFolder = scratch / u8"next";
    request.siteFolder = site();
    request.version = L"2.0";
    const PublishResult result = publishRelease(request, observer);
    EXPECT_EQ(result.outcome, PublishOutcome::Failed);
    EXPECT_EQ(result.failure, "another lobbex-publish is publishing to this site");
    EXPECT_EQ(snapshotTree(site()), before);
}

// The launcher looks for changed files only when the list's version is higher than the
// installed one, comparing them as decimal numbers.
TEST_F(SiteSwitch, WarnsWhenTheVersionIsNotHigherThanTheServedOne) {
    ASSERT_EQ(publish(L"1.9", "old").outcome, PublishOutcome::Published);
    ASSERT_EQ(publish(L"1.10", "new").outcome, PublishOutcome::Published);
    EXPECT_EQ(observer.warnings,
              std::vector<std::string>{"the version 1.10 is not higher than the served version 1.9 (versions compare "
                                       "as decimal numbers: 1.10 is lower than 1.9); launchers that have 1.9 will not "
                                       "look for changed files"});
    observer.warnings.clear();
    ASSERT_EQ(publish(L"1.91", "newer").outcome, PublishOutcome::Published);
    EXPECT_TRUE(observer.warnings.empty());
}

#ifndef _WIN32
// A publisher killed halfway (here while it copies the first file) leaves its staging folder
// and nothing else: the served release stays, and the next publish clears the rest away.
TEST_F(SiteSwitch, KilledPublisherLeavesTheServedReleaseAlone) {
    ASSERT_EQ(publish(L"1.0", "old").outcome, PublishOutcome::Published);
    const auto servedBefore = served();
    writeBytes(scratch / u8"next/a.txt", patternBytes(3u << 20));

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        class Hang : public PublishObserver {
        public:
            explicit Hang(int fd) : fd_(fd) {}
            void warn(std::string_view) override {}
            bool progress(const PublishProgress&) override {
                [[maybe_unused]] const auto written = ::write(fd_, "x", 1);
                while (true) {
                    ::pause();
                }
            }

        private:
            int fd_;
        } hang(ready[1]);
        PublishRequest request;
        request.releaseFolder = scratch / u8"next";
        request.siteFolder = site();
        request.version = L"2.0";
        (void)publishRelease(request, hang);
        ::_exit(0);
    }
    char signal = 0;
    ASSERT_EQ(::read(ready[0], &signal, 1), 1);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(ready[0]);
    ::close(ready[1]);

    EXPECT_EQ(served(), servedBefore);
    const std::vector<std::string> folders = releaseFolders();
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_TRUE(folders[0].starts_with(".staging-")) << folders[0];

    const PublishResult next = publish(L"3.0", "next");
    ASSERT_EQ(next.outcome, PublishOutcome::Published);
    EXPECT_EQ(observer.warnings.size(), 1u);
    EXPECT_EQ(readServedList(site()).version, L"3.0");
    for (const std::string& name : releaseFolders()) {
        EXPECT_FALSE(name.starts_with(".staging-")) << name;
    }
}

// A site whose "current" is a folder (copied from a Windows publisher) keeps it as a release
// and switches to a link.
TEST_F(SiteSwitch, ServedFolderFromElsewhereBecomesARelease) {
    writeBytes(site() / "current" / "patchlist.dat", "[VERSION]\r\n0.9\r\n[PatchList]\r\n");
    const PublishResult result = publish(L"1.0", "new");
    ASSERT_EQ(result.outcome, PublishOutcome::Published);
    EXPECT_TRUE(fs::is_symlink(site() / "current"));
    const std::vector<std::string> folders = releaseFolders();
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_TRUE(folders[0].ends_with("_0.9")) << folders[0];
    EXPECT_EQ(readBytes(site() / "releases" / folders[0] / "patchlist.dat"), "[VERSION]\r\n0.9\r\n[PatchList]\r\n");
}
#endif

}  // namespace

// Atomic saves: a child process saves a large score over and over, two
// versions in turn, and is killed at random moments. The score file is always
// one of the two versions, whole; the temporary files of the killed saves are
// gone after the next save that completes.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "ReliabilityTestSupport.h"
#include "SampleScores.h"
#include "doc/CStavlinDoc.h"
#include "lines/KStrLine.h"

namespace {

class InterruptedSave : public ReliabilityTest {
 protected:
  // Files in the folder other than the score itself.
  std::vector<std::string> OtherFiles(const std::string& score) const {
    std::vector<std::string> others;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
      const std::string name = entry.path().filename().string();
      if (name != score) others.push_back(name);
    }
    return others;
  }
};

TEST_F(InterruptedSave, ScoreFileIsAlwaysOneWholeVersionAndLeftoversGoWithTheNextSave) {
  constexpr int kKills = 120;
  // On a loaded machine a kill may come before the saving child has run at
  // all: the kills go on, up to kMaxKills, until one has fallen inside a save.
  constexpr int kMaxKills = 1000;
  const std::string score = PathOf("large.svd");
  CStavlinDoc first;
  FillLargeScore(first, 60, 120);
  CStavlinDoc second;
  FillLargeScore(second, 60, 120);
  second.AddTailLine(new KStrLine("the second version", 1));

  ASSERT_TRUE(second.OnSaveDocument(score.c_str()));
  const std::vector<std::uint8_t> secondArchive = Contents(score);
  ASSERT_TRUE(first.OnSaveDocument(score.c_str()));
  const std::vector<std::uint8_t> firstArchive = Contents(score);
  ASSERT_NE(firstArchive, secondArchive);

  // How long one save takes, so that the kills fall anywhere within saves.
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(first.OnSaveDocument(score.c_str()));
  const auto saveTime =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);

  std::mt19937 random(20261209);
  std::uniform_int_distribution<long long> delay(0, 3 * saveTime.count() + 1000);
  int killedWithLeftover = 0;
  for (int kill = 0; kill < kMaxKills && (kill < kKills || killedWithLeftover == 0); ++kill) {
    std::fflush(nullptr);
    // The child says through a pipe that it is about to save, so that the
    // delay counts from its first save, not from the fork.
    int started[2] = {-1, -1};
    ASSERT_EQ(::pipe(started), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(started[0]);
      const char ready = 1;
      if (::write(started[1], &ready, 1) != 1) ::_exit(1);
      for (;;) {
        first.OnSaveDocument(score.c_str());
        second.OnSaveDocument(score.c_str());
      }
    }
    ::close(started[1]);
    char ready = 0;
    const ssize_t got = ::read(started[0], &ready, 1);
    ::close(started[0]);
    ASSERT_EQ(got, 1);
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);

    SCOPED_TRACE("kill " + std::to_string(kill));
    const std::vector<std::uint8_t> now = Contents(score);
    ASSERT_FALSE(now.empty()) << "the score file does not read whole";
    EXPECT_TRUE(now == firstArchive || now == secondArchive);
    if (!OtherFiles("large.svd").empty()) ++killedWithLeftover;
  }
  // Some kills fell inside a save and left its temporary file; the next save
  // that completes takes them away.
  EXPECT_GT(killedWithLeftover, 0);
  ASSERT_TRUE(first.OnSaveDocument(score.c_str()));
  EXPECT_EQ(OtherFiles("large.svd"), std::vector<std::string>{});
  EXPECT_EQ(Contents(score), firstArchive);
}

}  // namespace

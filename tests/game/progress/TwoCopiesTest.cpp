// One damage in a file and one in its copy of the save before lose nothing that either copy held
// whole: the level in progress is put together part by part (its clock and score, its picture,
// its tiles, its hints), and the list of players block by block (who plays, each player's place),
// each from whichever copy holds it whole. 400 random pairs of damages each, half of them in the
// same part of both copies.
#include <random>

#include "ProfileTestSupport.h"
#include "engine/data/BlockFile.h"
#include "game/levels/Level.h"
#include "game/levels/Tile.h"
#include "game/progress/PlayerNotices.h"
#include "platform/Strings.h"

using namespace profiletest;

namespace {

// A span of lines of a file: from where it starts to where its last line ends.
using Span = std::pair<size_t, size_t>;

// The lines of a block that opens with the line `open` (with its indent) to its closing line.
Span BlockSpan(const std::string& text, const std::string& indent, const std::string& name, size_t from = 0) {
    const size_t at = text.find("\n" + indent + name + "{\n", from == 0 ? 0 : from - 1);
    const size_t start = StartsWith(text, indent + name + "{\n") && from == 0 ? 0 : at + 1;
    return {start, text.find("\n" + indent + "}\n", start) + indent.size() + 3};
}

// One damage: a byte zeroed, a bit flipped, or the file cut before the byte.
struct Damage {
    size_t at = 0;
    int how = 0;
    std::string applied(const std::string& text, int bit) const {
        std::string damaged = text;
        if (how == 0) damaged[at] = '\0';
        if (how == 1) damaged[at] = static_cast<char>(damaged[at] ^ (1 << bit));
        if (how == 2) damaged.resize(at);
        return damaged;
    }
    // The lines of the span are untouched by it.
    bool spares(const Span& span) const { return how == 2 ? span.second <= at : at < span.first || at >= span.second; }
};

// Two damages, one in each copy; for half the pairs in the same part (given by its spans in each
// copy).
std::pair<Damage, Damage> RandomPair(std::mt19937& random, int pair, const std::string (&texts)[2],
                                     const std::vector<Span> (&spans)[2]) {
    Damage d[2];
    for (int c = 0; c < 2; ++c) d[c].how = std::uniform_int_distribution<int>(0, 2)(random);
    d[0].at = std::uniform_int_distribution<size_t>(0, texts[0].size() - 1)(random);
    size_t part = std::uniform_int_distribution<size_t>(0, spans[1].size() - 1)(random);
    if (pair % 2 == 0) {
        for (size_t p = 0; p < spans[0].size(); ++p)
            if (d[0].at >= spans[0][p].first && d[0].at < spans[0][p].second) part = p;
        d[1].at = std::uniform_int_distribution<size_t>(spans[1][part].first, spans[1][part].second - 1)(random);
    } else {
        d[1].at = std::uniform_int_distribution<size_t>(0, texts[1].size() - 1)(random);
    }
    return {d[0], d[1]};
}

class TwoCopiesTest : public ProfileTest {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        ResetPlayerNotices();
    }

    TProfileManagerPtr ReadPlayers() {
        ResetProfileGlobals();
        auto manager = std::make_shared<TProfileManager>();
        testing::internal::CaptureStdout();
        manager->OnSetup();
        testing::internal::GetCapturedStdout();
        return manager;
    }
};

// The parts of a level as a save writes them: its data, its picture, its tiles, its own entries
// (the hints).
std::vector<std::string> LevelParts(const std::shared_ptr<TLevel>& level) {
    auto pac = std::dynamic_pointer_cast<TPACLevel>(level);
    if (!pac) return {};
    const auto root = PacLevelToBlockFile(pac, "", 0);
    const auto block = GetBlockFileNO_NEW(root, "Level");
    std::vector<std::string> parts;
    for (const char* name : {"Data", "Tiles", "TilesData"}) {
        auto holder = CreateBlockFile("");
        holder->AddBlock(GetBlockFileNO_NEW(block, name));
        parts.push_back(BlockFileToText(holder));
    }
    std::string own;
    for (const auto& entry : block->SubFiles)
        if (entry && entry->MyType == BF_ENTRY) own += entry->ToString2("");
    parts.push_back(own);
    return parts;
}

TEST_F(TwoCopiesTest, TheLevelInProgressKeepsEveryPartEitherCopyHeldWhole) {
    // Two saves of ANN's level 1: the one before (10 seconds, two tiles uncovered) and the last
    // (20 seconds, a third tile, a mistake, the hint used).
    auto writer = std::make_shared<TProfileManager>();
    writer->ProfilesList.push_back(CreateNewProfile("Ann"));
    writer->SetCurrProfile(writer->ProfilesList[0]);
    writer->isProfilesRead = 1;
    auto ann = writer->ProfilesList[0];
    ann->Level = 1;
    std::vector<std::string> saves[2];
    for (int k = 0; k < 2; ++k) {
        auto level = SmallLevel();
        level->LevelSeconds = 10 + 10 * k;
        level->Mistakes = k;
        level->HintWasUsed = k;
        for (int x = 0; x < 2 + k; ++x)
            if (auto tile = level->Tile.At(0, x, 1)) tile->isCovered = 0;
        ann->CurrLevel = level;
        writer->SaveAtEnd();
        saves[k] = LevelParts(level);
    }
    const std::vector<std::string>&before = saves[0], &last = saves[1];
    const auto saved = Snapshot();
    const std::string file = "65-110-110.PACLEVEL";
    const std::string texts[2] = {saved.at(file), saved.at(file + ".bak")};
    // The parts' lines in each copy: the data, the picture, the tiles; the level's own entries
    // are its lines at one tab after the tiles (the hints, and their check).
    std::vector<Span> spans[2];
    for (int c = 0; c < 2; ++c) {
        for (const char* name : {"Data", "Tiles", "TilesData"}) spans[c].push_back(BlockSpan(texts[c], "\t", name));
        spans[c].push_back({spans[c].back().second, texts[c].find("\n}\n", spans[c].back().second) + 1});
    }

    std::mt19937 random(58);
    int mixed = 0;
    for (int pair = 0; pair < 400; ++pair) {
        const auto [fileDamage, copyDamage] = RandomPair(random, pair, texts, spans);
        SCOPED_TRACE("file " + std::to_string(fileDamage.how) + " at " + std::to_string(fileDamage.at) + ", its .bak " +
                     std::to_string(copyDamage.how) + " at " + std::to_string(copyDamage.at));
        Restore(saved);
        testsupport::WriteFileBytes(ProfilesFile(file), fileDamage.applied(texts[0], pair % 7));
        testsupport::WriteFileBytes(ProfilesFile(file + ".bak"), copyDamage.applied(texts[1], pair % 5));
        ResetPlayerNotices();
        auto manager = ReadPlayers();
        ASSERT_EQ(manager->ProfilesList.size(), 1u);
        const std::vector<std::string> got = LevelParts(manager->ProfilesList[0]->CurrLevel);
        ASSERT_EQ(got.size(), last.size());
        bool asLast = true, fromBefore = false;
        for (size_t p = 0; p < got.size(); ++p) {
            asLast = asLast && got[p] == last[p];
            if (fileDamage.spares(spans[0][p])) {
                EXPECT_EQ(got[p], last[p]) << "part " << p << " was whole in the file";
            } else if (copyDamage.spares(spans[1][p])) {
                EXPECT_TRUE(got[p] == last[p] || got[p] == before[p]) << "part " << p << " was whole in the .bak";
                fromBefore = fromBefore || got[p] != last[p];
            }
        }
        mixed += fromBefore && got != before;
        if (!asLast) {
            EXPECT_FALSE(PendingPlayerNotices().empty()) << "a loss not told";
        }
        // The repair was written at once: the next start reads the same, with nothing to tell.
        ResetPlayerNotices();
        EXPECT_EQ(LevelParts(ReadPlayers()->ProfilesList[0]->CurrLevel), got);
        EXPECT_TRUE(PendingPlayerNotices().empty()) << PendingPlayerNotices()[0];
    }
    // Some boards were put together from both copies.
    EXPECT_GT(mixed, 0);
}

TEST_F(TwoCopiesTest, TheListOfPlayersKeepsWhoPlaysAndEveryPlaceEitherCopyHeldWhole) {
    // Three players (their Ids in another order than the list's), and two saves of the list:
    // ANN playing, then MAY.
    auto writer = std::make_shared<TProfileManager>();
    for (const char* name : {"Zed", "Ann", "May"}) writer->ProfilesList.push_back(CreateNewProfile(name));
    writer->isProfilesRead = 1;
    for (int k = 0; k < 2; ++k) {
        writer->SetCurrProfile(writer->ProfilesList[1 + k]);
        writer->SaveAtEnd();
    }
    const auto saved = Snapshot();
    const std::string texts[2] = {saved.at("Profiles.dat"), saved.at("Profiles.dat.bak")};
    // The blocks' lines: the settings (who plays), then each player's place.
    std::vector<Span> spans[2];
    for (int c = 0; c < 2; ++c) {
        spans[c].push_back(BlockSpan(texts[c], "", "Settings"));
        for (int k = 0; k < 3; ++k) spans[c].push_back(BlockSpan(texts[c], "", "Profile", spans[c].back().second));
    }
    const std::vector<std::string> names = {"Zed", "Ann", "May"}, playing = {"May", "Ann"};

    std::mt19937 random(57);
    for (int pair = 0; pair < 400; ++pair) {
        const auto [listDamage, copyDamage] = RandomPair(random, pair, texts, spans);
        SCOPED_TRACE("list " + std::to_string(listDamage.how) + " at " + std::to_string(listDamage.at) + ", its .bak " +
                     std::to_string(copyDamage.how) + " at " + std::to_string(copyDamage.at));
        Restore(saved);
        testsupport::WriteFileBytes(ProfilesFile("Profiles.dat"), listDamage.applied(texts[0], pair % 7));
        testsupport::WriteFileBytes(ProfilesFile("Profiles.dat.bak"), copyDamage.applied(texts[1], pair % 5));
        auto manager = ReadPlayers();
        // Every player comes back (their files are whole), each place either copy held whole is
        // kept, and who plays where either copy held it.
        ASSERT_EQ(manager->ProfilesList.size(), 3u);
        for (size_t k = 0; k < 3; ++k) {
            if (listDamage.spares(spans[0][k + 1]) || copyDamage.spares(spans[1][k + 1])) {
                EXPECT_EQ(manager->ProfilesList[k]->name, names[k]) << "place " << k;
            }
        }
        if (listDamage.spares(spans[0][0])) {
            EXPECT_EQ(Profile->name, playing[0]);
        } else if (copyDamage.spares(spans[1][0])) {
            EXPECT_TRUE(Profile->name == playing[0] || Profile->name == playing[1]) << Profile->name;
        }
        // The repair was written at once: the next start reads the same.
        const std::string current = Profile->name;
        auto again = ReadPlayers();
        ASSERT_EQ(again->ProfilesList.size(), 3u);
        for (size_t k = 0; k < 3; ++k) EXPECT_EQ(again->ProfilesList[k]->name, manager->ProfilesList[k]->name);
        EXPECT_EQ(Profile->name, current);
    }
}

}  // namespace

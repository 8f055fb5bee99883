// Memory of the score tables: all 74 of them (64 levels, 9 stages, the
// endless modes), each read from a file holding 100 global entries, as after
// a long time online. Prints the heap bytes the tables hold (mallinfo2) and
// the growth of the peak resident size (getrusage). Runs in a private save
// folder and touches no network.
#include "bench/BenchSupport.h"
#include "game/scores/ModeHighScores.h"
#include "game/scores/SaveWriter.h"
#include "game/scores/ScoreFile.h"

#include <cstdio>
#include <cstdlib>
#include <ftw.h>
#include <malloc.h>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
using Vexel::Bench::PeakResidentBytes;
class OfflineHost : public IScoreTableHost
{
public:
    double Now() override { return 1.3e9; }
    IScoreService* CreateService() override { return nullptr; }
};

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*)
{
    return remove(path);
}

struct Table
{
    const char* name;
    int16_t mode;
};
} // namespace

int main()
{
    char folder[] = "/tmp/cobalt-keep-score-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr)
        return 1;
    setenv("XDG_DATA_HOME", folder, 1);

    std::vector<Table> tables;
    for (int i = 0; i < 64; i++)
        tables.push_back({"level", int16_t(1000 + i)});
    for (int i = 0; i < 9; i++)
        tables.push_back({"stage", int16_t(2000 + i)});
    tables.push_back({"infinite", 3000});

    size_t fileBytes = 0;
    for (Table const& table : tables)
    {
        ScoreFileRecord record;
        record.best.name = record.online.name = record.latest.name = "AAA";
        record.best.stats.score = record.online.stats.score = record.latest.stats.score = 5000;
        for (int i = 0; i < 100; i++)
        {
            HighScores::ScoreEntry entry;
            entry.stats.score = 100000 - i * 37;
            entry.stats.kills = 400 + i;
            entry.date = 1.3e9 + i;
            entry.name = std::string(1, char('A' + i % 26)) + "ZZ";
            record.global.push_back(entry);
        }
        const std::string bytes = WriteScoreFile(record);
        fileBytes += bytes.size();
        SaveWriter::SaveBytes(ScoreFileName(table.name, table.mode), bytes);
    }

    OfflineHost host;
    const double peakBefore = PeakResidentBytes();
    const size_t heapBefore = mallinfo2().uordblks;
    std::vector<std::unique_ptr<ModeHighScores>> made;
    for (Table const& table : tables)
        made.emplace_back(new ModeHighScores(table.name, table.mode, &host));
    const size_t heapAfter = mallinfo2().uordblks;
    const double peakAfter = PeakResidentBytes();

    int entries = 0;
    for (auto const& table : made)
        entries += table->GetGlobalCount();
    printf("score tables: %zu tables, %d global entries\n", made.size(), entries);
    printf("heap held by the tables: %.1f KiB (%.0f bytes per table)\n",
           double(heapAfter - heapBefore) / 1024.0, double(heapAfter - heapBefore) / double(made.size()));
    printf("peak resident size: %.1f MiB before, %.1f MiB after (+%.1f KiB)\n", peakBefore / 1048576.0,
           peakAfter / 1048576.0, (peakAfter - peakBefore) / 1024.0);
    printf("score files on disk: %.1f KiB\n", double(fileBytes) / 1024.0);

    made.clear();
    nftw(folder, &RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
    return 0;
}

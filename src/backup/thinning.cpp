#include "backup/thinning.h"

#include <functional>
#include <optional>

namespace velmora {

namespace {

// Keeps the first backup of each of the first `buckets` buckets met, newest first.
void keepNewestOfBuckets(const std::vector<DatedBackup> &backups, int buckets,
                         const std::function<int(const QDate &)> &bucketOf, std::vector<bool> &keep)
{
    int seen = 0;
    std::optional<int> last;
    for (size_t i = 0; i < backups.size(); ++i) {
        const int bucket = bucketOf(backups[i].day);
        if (bucket == last)
            continue;
        if (seen == buckets)
            break;
        last = bucket;
        ++seen;
        keep[i] = true;
    }
}

int isoWeek(const QDate &day)
{
    int year = 0;
    const int week = day.weekNumber(&year);
    return year * 100 + week;
}

} // namespace

std::vector<bool> backupsToKeep(const std::vector<DatedBackup> &newestFirst, const ThinningRule &rule)
{
    std::vector<bool> keep(newestFirst.size(), false);
    // Every backup of the last `days` days with backups.
    int days = 0;
    for (size_t i = 0; i < newestFirst.size(); ++i) {
        if (i == 0 || newestFirst[i].day != newestFirst[i - 1].day)
            ++days;
        if (days > rule.days)
            break;
        keep[i] = true;
    }
    keepNewestOfBuckets(newestFirst, rule.weeks, isoWeek, keep);
    keepNewestOfBuckets(newestFirst, rule.months, [](const QDate &d) { return d.year() * 12 + d.month(); }, keep);
    // Past the size, every older one goes as well.
    qint64 total = 0;
    for (size_t i = 0; i < newestFirst.size(); ++i) {
        if (keep[i])
            total += newestFirst[i].size;
        if (i > 0 && total > rule.maxBytes)
            keep[i] = false;
    }
    return keep;
}

} // namespace velmora

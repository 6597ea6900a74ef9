#include "engine/MdbProbe.h"

#include <glib.h>
extern "C" {
#include <mdbtools.h>
}

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace dao {

namespace {

// What the reader asks of libmdb before the rows: every table's definition,
// columns, indexes and usage map. Runs in the child only.
bool readStructure(const char* path)
{
    MdbHandle* mdb = mdb_open(path, MDB_NOFLAGS);
    if (!mdb || !mdb_read_catalog(mdb, MDB_TABLE))
        return false;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE)
            continue;
        MdbTableDef* table = mdb_read_table(entry);
        if (!table)
            continue;
        if (mdb_read_columns(table)) {
            mdb_read_indices(table);
            if (table->usage_map)
                for (int pg = mdb_map_find_next(mdb, table->usage_map, table->map_sz, 0); pg > 0;
                     pg = mdb_map_find_next(mdb, table->usage_map, table->map_sz, static_cast<guint32>(pg)))
                    ;
        }
        mdb_free_tabledef(table);
    }
    mdb_close(mdb);
    return true;
}

} // namespace

bool mdbStructureReadable(const std::string& path, long long fileSize)
{
    // A healthy file's structure reads in milliseconds; the bound leaves room
    // for a busy machine and grows with the file.
    const auto limit = std::chrono::milliseconds(3000 + fileSize / 4096);
    const pid_t child = fork();
    if (child < 0)
        return true; // no child to spare: read in the program as ever
    if (child == 0) {
        // Only libmdb runs here, then _exit: nothing of the program's own state is touched.
        // The child never outlives the program, nor its own time.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        alarm(static_cast<unsigned>(limit.count() / 1000 + 2));
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        _exit(readStructure(path.c_str()) ? 0 : 1);
    }
    const auto start = std::chrono::steady_clock::now();
    auto pause = std::chrono::microseconds(200);
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child)
            break;
        if (done < 0 && errno != EINTR)
            return errno == ECHILD; // reaped by someone else: nothing is known against the file
        if (std::chrono::steady_clock::now() - start > limit) {
            kill(child, SIGKILL);
            while (waitpid(child, &status, 0) < 0 && errno == EINTR)
                ;
            return false;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(5000));
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace dao

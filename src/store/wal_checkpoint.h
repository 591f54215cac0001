// Checkpoints of the write-ahead log off the caller's thread. A large batch (a
// day's quotes touch a leaf page of every security) leaves thousands of pages in
// the log; copying them into the table file and syncing both costs more than the
// batch itself. The commit is already safe in the log, so the copy can follow on a
// thread of its own, over a connection of its own, while the user reads the
// report. Readers and writers of the file go on meanwhile (a passive checkpoint
// takes no lock that they wait for).
#pragma once

#include <QString>

namespace q {

// Queues a passive checkpoint of `path` (a table file in WAL mode). A request for
// a file already queued is folded into it. A file that is gone by then, or busy, is
// left as it is: the next checkpoint, or the last connection's close, takes it.
void checkpointLater(const QString& path);

// Waits until every queued checkpoint has run. The program's exit waits as well.
void waitForCheckpoints();

}  // namespace q

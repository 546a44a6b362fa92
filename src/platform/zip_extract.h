#pragma once

#include <QString>

namespace lanxun {

enum class ExtractResult {
    Done,
    NotAnArchive,  // missing, empty, truncated or not a zip at all
    UnsafeEntry,   // a name that leaves the folder (absolute, "..") or a link
    MissingEntry,  // the entry that must be there is not
    Damaged,       // an entry that does not read back whole (bad data, wrong CRC)
    WriteFailed,   // the folder refused a file
};

// Extracts the zip `archive` into `folder`, replacing files of the same names.
// All or nothing as far as the file system allows: every entry is first
// unpacked and checked beside the folder's files in a hidden staging folder, and
// only a wholly good archive is moved into place, with `requiredEntry` (a name at
// the top of the archive) moved last. A bad archive writes nothing; a move that
// fails part-way puts back every file already replaced and removes the folders
// made. No file or folder is ever written outside `folder`, also not through a
// link already inside it. Names are UTF-8 when the entry says so and
// GBK otherwise (as Chinese Windows writes them). Unix permissions stored in the
// archive are kept without set-id bits; `requiredEntry` is always executable.
ExtractResult ExtractZip(const QString& archive, const QString& folder,
                         const QString& requiredEntry);

}  // namespace lanxun

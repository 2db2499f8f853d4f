#pragma once
// A copy just written to the card, read back from the medium rather than from the page cache and compared
// byte for byte with the file it was copied from: cheap flash may acknowledge writes it never made.
#include "platform/file_place.h"

namespace nodra {

enum class ReadBack { Kept, Differs, Unreadable };
// Past the page cache (O_DIRECT) where the file system allows it, else through a cache emptied of the file.
enum class ReadBackWay { PastTheCache, ThroughEmptiedCache };

// Unreadable when the copy (or the source, read again) does not read; `error` says why.
ReadBack readBack(const FilePlace& copy, const FilePlace& source, FileError& error,
                  ReadBackWay way = ReadBackWay::PastTheCache);

// Takes a file off the card and flushes its folder; never through a link.
bool removeCardFile(const FilePlace& file, FileError& error);

}  // namespace nodra

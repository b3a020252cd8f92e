// One folder read from the disk for a walk: each entry with its kind, identity and size, links
// followed. The disk file system's ScanFolder is built on it.
#pragma once

#include <sys/stat.h>

#include <string>

#include "platform/FileSys.h"

namespace ravelin {

/// The identity of the file or folder that st describes.
FileId IdOf(const struct stat& st);

/// Reads the folder at path (spelled as on disk) into scan, its entries without "." and ".."
/// in listing order. Returns 0, or the errno that stopped the reading (scan then holds no
/// entries); scan.error is left alone.
int ScanDiskFolder(const std::string& path, FolderScan& scan);

#ifdef _WIN32
/// The errno value closest to a Windows error code (EIO for the codes without one).
int ErrnoOf(unsigned long code);
#endif

}  // namespace ravelin

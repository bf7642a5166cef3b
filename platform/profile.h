#pragma once

#include <QString>

namespace platform {

// The last-error codes a profile write can leave.
enum class ProfileError {
    None = 0,
    FileNotFound = 2, // no section given
    PathNotFound = 3, // the file's folder does not exist
    AccessDenied = 5, // the file cannot be read or replaced
    WriteFault = 29,  // the new text could not be written out
    DiskFull = 112,   // no room for the new text: a full disk, a quota, a file size limit
};

// Our own reader and writer of profile (INI) files, byte for byte the Windows
// profile functions' behaviour. Every string is a NUL-terminated Windows-1252
// byte string, and a null pointer means something else than the empty string.
// Each call reads the file afresh; nothing is cached.

// Copies the key's value (trimmed, one pair of enclosing quotes removed) into
// `buffer`, cut to `bufferSize` - 1 bytes and followed by a NUL; a missing key
// gives `defaultValue` less its trailing spaces, then unquoted the same way.
// A null `key` lists the
// section's key names, a null `section` the file's section names, each name
// followed by a NUL and the list by one more. Returns the bytes copied without
// the final NUL; a buffer of size 0 is left untouched.
int getPrivateProfileString(const char *section, const char *key, const char *defaultValue,
                            char *buffer, int bufferSize, const QString &file);

// Stores `value` under the key, creating the file and section as needed and
// changing only the line concerned. A null `value` removes the key, a null
// `key` the whole section. Returns false on failure, with its code in `error`
// and the step, file and the system's own words in `reason` when given. The
// file is replaced whole or not at all: a failed write leaves it byte for byte
// as it was. Concurrent writers in other processes are serialised, so none
// loses another's keys.
bool writePrivateProfileString(const char *section, const char *key, const char *value,
                               const QString &file, ProfileError *error = nullptr,
                               QString *reason = nullptr);

} // namespace platform

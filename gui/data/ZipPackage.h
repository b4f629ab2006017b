// The zip container of an Office Open XML workbook: reading every part of an archive held in
// memory and writing a set of parts back as an archive (deflated, with CRC-32), over zlib.
// The workbook writer uses it to add the chart settings its writer library has no call for;
// tests use it to read a workbook back. Exports TZipEntry, ReadZip and WriteZip.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One part of an archive: its name inside the archive, its uncompressed bytes and its
// modification time in MS-DOS form (1980-01-01 00:00 by default).
struct TZipEntry {
    std::string Name;
    std::string Data;
    std::uint16_t DosTime = 0;
    std::uint16_t DosDate = (1 << 5) | 1;
};

// Reads every entry of a zip archive (stored or deflated entries, no ZIP64, no encryption)
// in the order of its central directory, checking each entry's CRC-32. On failure returns
// false with the reason in *Error (Error may be null); Entries then holds what was read.
bool ReadZip(const std::string& Archive, std::vector<TZipEntry>& Entries, std::string* Error);

// The entry of that name, or nullptr.
const TZipEntry* FindZipEntry(const std::vector<TZipEntry>& Entries, const std::string& Name);

// The archive of these entries, each deflated, in the order given. Entries larger than
// 4 GiB or more than 65535 entries need ZIP64 and are refused with std::length_error.
std::string WriteZip(const std::vector<TZipEntry>& Entries);

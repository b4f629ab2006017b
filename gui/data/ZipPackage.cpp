// Zip archives in memory: the central directory is read to find every entry, stored and
// deflated data are taken out with zlib and checked against their CRC-32; writing deflates
// each entry and lays out local headers, the central directory and its end record.
#include "gui/data/ZipPackage.h"

#include <zlib.h>

#include <limits>
#include <stdexcept>

namespace {

constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kEndRecordSize = 22;
constexpr std::uint16_t kMethodStored = 0;
constexpr std::uint16_t kMethodDeflated = 8;
constexpr std::uint16_t kVersionNeeded = 20; // 2.0: deflate
constexpr std::uint16_t kFlagUtf8Names = 1 << 11;

std::uint16_t Get16(const std::string& S, std::size_t At) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(S[At]) |
                                      static_cast<unsigned char>(S[At + 1]) << 8);
}

std::uint32_t Get32(const std::string& S, std::size_t At) {
    return static_cast<std::uint32_t>(Get16(S, At)) | static_cast<std::uint32_t>(Get16(S, At + 2))
                                                          << 16;
}

void Put16(std::string& S, std::uint32_t V) {
    S += static_cast<char>(V & 0xff);
    S += static_cast<char>((V >> 8) & 0xff);
}

void Put32(std::string& S, std::uint32_t V) {
    Put16(S, V & 0xffff);
    Put16(S, V >> 16);
}

std::uint32_t Crc32(const std::string& Data) {
    uLong crc = crc32(0L, Z_NULL, 0);
    std::size_t done = 0;
    while (done < Data.size()) {
        const std::size_t chunk =
            std::min<std::size_t>(Data.size() - done, std::numeric_limits<uInt>::max());
        crc = crc32(crc, reinterpret_cast<const Bytef*>(Data.data() + done),
                    static_cast<uInt>(chunk));
        done += chunk;
    }
    return static_cast<std::uint32_t>(crc);
}

// Raw deflate data (no zlib header) of a known uncompressed size.
bool Inflate(const char* Data, std::size_t Size, std::size_t Expected, std::string& Out) {
    Out.assign(Expected, '\0');
    z_stream s{};
    if (inflateInit2(&s, -MAX_WBITS) != Z_OK)
        return false;
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Data));
    s.avail_in = static_cast<uInt>(Size);
    s.next_out = reinterpret_cast<Bytef*>(Out.data());
    s.avail_out = static_cast<uInt>(Expected);
    const int rc = inflate(&s, Z_FINISH);
    const bool ok = (rc == Z_STREAM_END && s.total_out == Expected) ||
                    (Expected == 0 && (rc == Z_STREAM_END || rc == Z_BUF_ERROR));
    inflateEnd(&s);
    return ok;
}

std::string Deflate(const std::string& Data) {
    z_stream s{};
    if (deflateInit2(&s, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK)
        throw std::runtime_error("zlib refused to start compressing");
    std::string out(deflateBound(&s, static_cast<uLong>(Data.size())), '\0');
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Data.data()));
    s.avail_in = static_cast<uInt>(Data.size());
    s.next_out = reinterpret_cast<Bytef*>(out.data());
    s.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&s, Z_FINISH);
    out.resize(s.total_out);
    deflateEnd(&s);
    if (rc != Z_STREAM_END)
        throw std::runtime_error("zlib could not compress an entry");
    return out;
}

bool Fail(std::string* Error, const std::string& Why) {
    if (Error)
        *Error = Why;
    return false;
}

} // namespace

bool ReadZip(const std::string& Archive, std::vector<TZipEntry>& Entries, std::string* Error) {
    Entries.clear();
    if (Archive.size() < kEndRecordSize)
        return Fail(Error, "not a zip archive: too short for its end record");
    // The end record sits at the end, followed only by a comment of at most 65535 bytes.
    std::size_t end = std::string::npos;
    const std::size_t lowest =
        Archive.size() > kEndRecordSize + 0xffff ? Archive.size() - kEndRecordSize - 0xffff : 0;
    for (std::size_t at = Archive.size() - kEndRecordSize + 1; at-- > lowest;) {
        if (Get32(Archive, at) == kEndSignature) {
            end = at;
            break;
        }
    }
    if (end == std::string::npos)
        return Fail(Error, "not a zip archive: no end of central directory record");

    const std::size_t count = Get16(Archive, end + 10);
    const std::size_t directorySize = Get32(Archive, end + 12);
    std::size_t at = Get32(Archive, end + 16);
    if (at > end || directorySize > end - at)
        return Fail(Error, "the central directory lies outside the archive");

    for (std::size_t i = 0; i < count; ++i) {
        const std::string where = "central directory entry " + std::to_string(i + 1);
        if (at + kCentralHeaderSize > end || Get32(Archive, at) != kCentralSignature)
            return Fail(Error, where + ": bad header");
        const std::uint16_t flags = Get16(Archive, at + 8);
        const std::uint16_t method = Get16(Archive, at + 10);
        TZipEntry entry;
        entry.DosTime = Get16(Archive, at + 12);
        entry.DosDate = Get16(Archive, at + 14);
        const std::uint32_t crc = Get32(Archive, at + 16);
        const std::uint32_t packed = Get32(Archive, at + 20);
        const std::uint32_t size = Get32(Archive, at + 24);
        const std::size_t nameLength = Get16(Archive, at + 28);
        const std::size_t extraLength = Get16(Archive, at + 30);
        const std::size_t commentLength = Get16(Archive, at + 32);
        const std::size_t local = Get32(Archive, at + 42);
        if (at + kCentralHeaderSize + nameLength > end)
            return Fail(Error, where + ": name runs past the directory");
        entry.Name = Archive.substr(at + kCentralHeaderSize, nameLength);
        at += kCentralHeaderSize + nameLength + extraLength + commentLength;

        const std::string what = "entry " + entry.Name;
        if (flags & 1)
            return Fail(Error, what + ": encrypted entries are not supported");
        if (packed == 0xffffffff || size == 0xffffffff)
            return Fail(Error, what + ": ZIP64 entries are not supported");
        if (local + kLocalHeaderSize > Archive.size() || Get32(Archive, local) != kLocalSignature)
            return Fail(Error, what + ": bad local header");
        const std::size_t data =
            local + kLocalHeaderSize + Get16(Archive, local + 26) + Get16(Archive, local + 28);
        if (data > Archive.size() || packed > Archive.size() - data)
            return Fail(Error, what + ": data runs past the end of the archive");

        if (method == kMethodStored) {
            if (packed != size)
                return Fail(Error, what + ": stored sizes disagree");
            entry.Data = Archive.substr(data, size);
        } else if (method == kMethodDeflated) {
            if (!Inflate(Archive.data() + data, packed, size, entry.Data))
                return Fail(Error, what + ": damaged compressed data");
        } else {
            return Fail(Error, what + ": compression method " + std::to_string(method) +
                                   " is not supported");
        }
        if (Crc32(entry.Data) != crc)
            return Fail(Error, what + ": CRC-32 does not match");
        Entries.push_back(std::move(entry));
    }
    return true;
}

const TZipEntry* FindZipEntry(const std::vector<TZipEntry>& Entries, const std::string& Name) {
    for (const TZipEntry& e : Entries)
        if (e.Name == Name)
            return &e;
    return nullptr;
}

std::string WriteZip(const std::vector<TZipEntry>& Entries) {
    constexpr std::size_t limit = 0xfffffffe;
    if (Entries.size() > 0xffff)
        throw std::length_error("a zip archive without ZIP64 holds at most 65535 entries");
    std::string archive;
    std::string directory;
    for (const TZipEntry& e : Entries) {
        if (e.Data.size() > limit || e.Name.size() > 0xffff)
            throw std::length_error("zip entry " + e.Name + " is too large");
        const std::string packed = Deflate(e.Data);
        const std::uint32_t crc = Crc32(e.Data);
        const std::size_t offset = archive.size();
        if (offset > limit || packed.size() > limit - offset)
            throw std::length_error("the archive grows past 4 GiB");

        // Local header and data.
        Put32(archive, kLocalSignature);
        Put16(archive, kVersionNeeded);
        Put16(archive, kFlagUtf8Names);
        Put16(archive, kMethodDeflated);
        Put16(archive, e.DosTime);
        Put16(archive, e.DosDate);
        Put32(archive, crc);
        Put32(archive, static_cast<std::uint32_t>(packed.size()));
        Put32(archive, static_cast<std::uint32_t>(e.Data.size()));
        Put16(archive, static_cast<std::uint32_t>(e.Name.size()));
        Put16(archive, 0);
        archive += e.Name;
        archive += packed;

        // Its central directory entry.
        Put32(directory, kCentralSignature);
        Put16(directory, kVersionNeeded);
        Put16(directory, kVersionNeeded);
        Put16(directory, kFlagUtf8Names);
        Put16(directory, kMethodDeflated);
        Put16(directory, e.DosTime);
        Put16(directory, e.DosDate);
        Put32(directory, crc);
        Put32(directory, static_cast<std::uint32_t>(packed.size()));
        Put32(directory, static_cast<std::uint32_t>(e.Data.size()));
        Put16(directory, static_cast<std::uint32_t>(e.Name.size()));
        Put16(directory, 0); // extra field
        Put16(directory, 0); // comment
        Put16(directory, 0); // disk number
        Put16(directory, 0); // internal attributes
        Put32(directory, 0); // external attributes
        Put32(directory, static_cast<std::uint32_t>(offset));
        directory += e.Name;
    }
    if (archive.size() > limit || directory.size() > limit - archive.size())
        throw std::length_error("the archive grows past 4 GiB");
    const std::size_t directoryOffset = archive.size();
    archive += directory;
    Put32(archive, kEndSignature);
    Put16(archive, 0);
    Put16(archive, 0);
    Put16(archive, static_cast<std::uint32_t>(Entries.size()));
    Put16(archive, static_cast<std::uint32_t>(Entries.size()));
    Put32(archive, static_cast<std::uint32_t>(directory.size()));
    Put32(archive, static_cast<std::uint32_t>(directoryOffset));
    Put16(archive, 0);
    return archive;
}

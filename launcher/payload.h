// The install set that a single-file setup carries behind the launcher
// program, and the launcher's command line. No Windows headers and no C
// runtime (the launcher has none): these build and are tested natively too.
//
// The file: the launcher program, the entries, an end mark, padding, the
// trailer (scripts/single-file writes it).
//   entry     the file's plain name, a zero byte, its size (4 bytes, least
//             significant first), its bytes
//   end mark  a zero byte (an empty name)
//   padding   zero bytes, so that the whole file is a multiple of 8 bytes
//             long: a signature is appended at such a boundary
//   trailer   "ZSET", the length of entries + end mark + padding (4 bytes),
//             their CRC-32 (4 bytes, zlib's)
#pragma once
#include <stddef.h>

struct PayloadEntry {
    const char* name;
    const unsigned char* data;
    unsigned long size;
};

// The set in the first `size` bytes of a file: the trailer, its length, the
// checksum and every entry (plain names, sizes within the set, SETUP.EXE
// among them) checked before anything is unpacked. `first`: the first entry,
// for NextEntry. False for a cut or changed file.
bool CheckPayload(const unsigned char* file, size_t size, const unsigned char** first);

// The entry at `at` of a checked set, and `at` moved past it; false at the
// end mark.
bool NextEntry(const unsigned char*& at, PayloadEntry& entry);

// A name that stays in the folder it is unpacked into: not empty, no "\",
// "/", ":" or "..".
bool IsPlainName(const char* name);

// zlib's CRC-32 of `size` bytes, continuing from `crc` (0 to start).
unsigned long Crc32(unsigned long crc, const unsigned char* data, size_t size);

// The arguments of a command line: what follows the program name (quoted or
// not), blanks in front included, to be passed on unchanged.
const char* ArgumentsOf(const char* commandLine);

// Setup's unattended run: the first word of the arguments is "/S" (any case).
bool IsQuietLine(const char* arguments);

#include "signrules.h"

#include <string.h>

namespace {

const uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

uint32_t Rotate(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

uint32_t Little16(const uint8_t* p) { return p[0] | p[1] << 8; }
uint32_t Little32(const uint8_t* p) { return Little16(p) | (uint32_t)Little16(p + 2) << 16; }

// One element of DER: its tag and its contents. Only definite lengths, as
// DER has them.
struct Der {
    const uint8_t* p;
    size_t size;
};

// The next element of `in` (moved past it); false at the end or on a fault.
bool Next(Der& in, int& tag, Der& contents)
{
    if (in.size < 2)
        return false;
    tag = in.p[0];
    size_t length = in.p[1], head = 2;
    if (length & 0x80) {
        size_t bytes = length & 0x7F;
        if (bytes == 0 || bytes > 4 || in.size < 2 + bytes)
            return false;
        length = 0;
        for (size_t i = 0; i < bytes; ++i)
            length = length << 8 | in.p[2 + i];
        head += bytes;
    }
    if (length > in.size - head)
        return false;
    contents.p = in.p + head;
    contents.size = length;
    in.p += head + length;
    in.size -= head + length;
    return true;
}

// The next element, which must carry that tag.
bool Expect(Der& in, int tag, Der& contents)
{
    int got;
    return Next(in, got, contents) && got == tag;
}

// The next element whole, tag and length included (for comparing names).
bool NextWhole(Der& in, Der& whole)
{
    int tag;
    Der contents;
    whole.p = in.p;
    if (!Next(in, tag, contents))
        return false;
    whole.size = in.p - whole.p;
    return true;
}

bool Same(const Der& a, const Der& b) { return a.size == b.size && memcmp(a.p, b.p, a.size) == 0; }

bool IsOid(const Der& oid, const uint8_t* want, size_t size) { return oid.size == size && memcmp(oid.p, want, size) == 0; }

const int kSequence = 0x30, kSet = 0x31, kOid = 0x06, kInteger = 0x02, kOctets = 0x04, kContext0 = 0xA0;
const uint8_t kSignedData[] = {0x2A, 0x86, 0x48, 0x86, 0xF7, 0x0D, 0x01, 0x07, 0x02};
const uint8_t kIndirectData[] = {0x2B, 0x06, 0x01, 0x04, 0x01, 0x82, 0x37, 0x02, 0x01, 0x04};
const uint8_t kSha256Oid[] = {0x60, 0x86, 0x48, 0x01, 0x65, 0x03, 0x04, 0x02, 0x01};
const uint8_t kCommonName[] = {0x55, 0x04, 0x03};
const uint8_t kOrganisation[] = {0x55, 0x04, 0x0A};

// The value of attribute `oid` in a Name (a sequence of sets of
// type-and-value pairs) into text; false when the name has none.
bool NameValue(Der name, const uint8_t* oid, size_t oidSize, char (&text)[kPublisherSize])
{
    Der set, pair, type, value;
    int tag;
    while (Expect(name, kSet, set))
        while (Expect(set, kSequence, pair))
            if (Expect(pair, kOid, type) && IsOid(type, oid, oidSize) && Next(pair, tag, value)) {
                size_t n = value.size < kPublisherSize - 1 ? value.size : kPublisherSize - 1;
                for (size_t i = 0; i < n; ++i)   // control characters would break the checker's line
                    text[i] = value.p[i] < 0x20 || value.p[i] == 0x7F ? '?' : (char)value.p[i];
                if (n < value.size)
                    memcpy(text + n - 3, "...", 3);
                text[n] = 0;
                return true;
            }
    return false;
}

// The subject's name of the certificate in `certificates` that was issued
// by `issuer` with `serial`.
bool SignerName(Der certificates, const Der& issuer, const Der& serial, char (&publisher)[kPublisherSize])
{
    Der certificate, body, field, certSerial, certIssuer, subject;
    int tag;
    while (Expect(certificates, kSequence, certificate)) {
        if (!Expect(certificate, kSequence, body))
            return false;
        Der version = body;
        if (Next(version, tag, field) && tag == kContext0)   // [0] version, when not the first
            body = version;
        if (!NextWhole(body, certSerial) || !Expect(body, kSequence, field) || !NextWhole(body, certIssuer) ||
            !Expect(body, kSequence, field) || !Expect(body, kSequence, subject))
            return false;
        if (Same(certSerial, serial) && Same(certIssuer, issuer))
            return NameValue(subject, kCommonName, sizeof kCommonName, publisher) ||
                   NameValue(subject, kOrganisation, sizeof kOrganisation, publisher);
    }
    return false;
}

// The signed image digest (SHA-256 or not) and the signer's name, from a
// PKCS #7 SignedData holding Authenticode's indirect data.
SignatureState ParseSignature(Der in, Der& digest, char (&publisher)[kPublisherSize])
{
    Der info, type, explicitData, signedData, field, content, indirect, digestInfo, algorithm, oid;
    Der certificates, signers, signer, issuerAndSerial, issuer, serial;
    int tag;
    if (!Expect(in, kSequence, info) || !Expect(info, kOid, type) || !IsOid(type, kSignedData, sizeof kSignedData) ||
        !Expect(info, kContext0, explicitData) || !Expect(explicitData, kSequence, signedData) ||
        !Expect(signedData, kInteger, field) || !Expect(signedData, kSet, field) ||
        !Expect(signedData, kSequence, content) || !Expect(content, kOid, type) ||
        !IsOid(type, kIndirectData, sizeof kIndirectData) || !Expect(content, kContext0, explicitData) ||
        !Expect(explicitData, kSequence, indirect) || !Expect(indirect, kSequence, field) ||
        !Expect(indirect, kSequence, digestInfo) || !Expect(digestInfo, kSequence, algorithm) ||
        !Expect(algorithm, kOid, oid) || !Expect(digestInfo, kOctets, digest) ||
        !Expect(signedData, kContext0, certificates))
        return kSignatureUnreadable;
    // certificate revocation lists may stand between certificates and signers
    bool found = false;
    while (!found && Next(signedData, tag, signers))
        found = tag == kSet;
    if (!found || !Expect(signers, kSequence, signer) || !Expect(signer, kInteger, field) ||
        !Expect(signer, kSequence, issuerAndSerial) || !NextWhole(issuerAndSerial, issuer) ||
        !NextWhole(issuerAndSerial, serial) || !SignerName(certificates, issuer, serial, publisher))
        return kSignatureUnreadable;
    if (!IsOid(oid, kSha256Oid, sizeof kSha256Oid))
        return kSignatureOtherDigest;
    return digest.size == CSha256::kSize ? kSignatureIntact : kSignatureUnreadable;
}

}  // namespace

CSha256::CSha256() : m_length(0)
{
    static const uint32_t kStart[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                       0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    memcpy(m_state, kStart, sizeof m_state);
}

void CSha256::Block(const uint8_t* p)
{
    uint32_t w[64];
    for (int i = 0; i < 16; ++i)
        w[i] = (uint32_t)p[4 * i] << 24 | p[4 * i + 1] << 16 | p[4 * i + 2] << 8 | p[4 * i + 3];
    for (int i = 16; i < 64; ++i) {
        uint32_t s0 = Rotate(w[i - 15], 7) ^ Rotate(w[i - 15], 18) ^ (w[i - 15] >> 3);
        uint32_t s1 = Rotate(w[i - 2], 17) ^ Rotate(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    uint32_t v[8];
    memcpy(v, m_state, sizeof v);
    for (int i = 0; i < 64; ++i) {
        uint32_t s1 = Rotate(v[4], 6) ^ Rotate(v[4], 11) ^ Rotate(v[4], 25);
        uint32_t t1 = v[7] + s1 + ((v[4] & v[5]) ^ (~v[4] & v[6])) + kRound[i] + w[i];
        uint32_t s0 = Rotate(v[0], 2) ^ Rotate(v[0], 13) ^ Rotate(v[0], 22);
        uint32_t t2 = s0 + ((v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]));
        memmove(v + 1, v, 7 * sizeof *v);
        v[4] += t1;
        v[0] = t1 + t2;
    }
    for (int i = 0; i < 8; ++i)
        m_state[i] += v[i];
}

void CSha256::Add(const void* data, size_t size)
{
    const uint8_t* p = (const uint8_t*)data;
    size_t used = m_length % 64;
    m_length += size;
    if (used) {
        size_t n = size < 64 - used ? size : 64 - used;
        memcpy(m_buffer + used, p, n);
        p += n;
        size -= n;
        if (used + n < 64)
            return;
        Block(m_buffer);
    }
    for (; size >= 64; p += 64, size -= 64)
        Block(p);
    memcpy(m_buffer, p, size);
}

void CSha256::Finish(uint8_t (&digest)[kSize])
{
    uint64_t bits = m_length * 8;
    uint8_t tail[72] = {0x80};
    size_t pad = (m_length % 64 < 56 ? 56 : 120) - m_length % 64;
    for (int i = 0; i < 8; ++i)
        tail[pad + i] = (uint8_t)(bits >> (56 - 8 * i));
    Add(tail, pad + 8);
    for (int i = 0; i < 32; ++i)
        digest[i] = (uint8_t)(m_state[i / 4] >> (24 - 8 * (i % 4)));
}

SignatureState ReadSignature(const uint8_t* image, size_t size, char (&publisher)[kPublisherSize])
{
    publisher[0] = 0;
    if (size < 0x40 || image[0] != 'M' || image[1] != 'Z')
        return kNotProgram;
    uint32_t pe = Little32(image + 0x3C);
    if (pe > size - 24 || memcmp(image + pe, "PE\0\0", 4) != 0)
        return kNotProgram;
    size_t optional = pe + 24, optionalSize = Little16(image + pe + 20);
    if (optionalSize > size - optional || optionalSize < 2)
        return kNotProgram;
    uint32_t magic = Little16(image + optional);
    if (magic != 0x10B && magic != 0x20B)
        return kNotProgram;
    // the data directories follow the count of them; the certificate table is the fifth
    size_t count = optional + (magic == 0x10B ? 92 : 108), checksum = optional + 64;
    size_t entry = count + 4 + 4 * 8;
    if (entry + 8 > optional + optionalSize || Little32(image + count) < 5)
        return kUnsigned;
    uint32_t table = Little32(image + entry), tableSize = Little32(image + entry + 4);
    if (!table && !tableSize)
        return kUnsigned;
    // the table is the file's tail; anything after it would be unsigned
    if (table < entry + 8 || table > size || tableSize != size - table || tableSize < 8)
        return kSignatureBroken;
    const uint8_t* certificate = image + table;
    uint32_t length = Little32(certificate);
    if (length < 8 || length > tableSize || Little16(certificate + 4) != 0x0200 || Little16(certificate + 6) != 2)
        return kSignatureUnreadable;
    Der signature = {certificate + 8, length - 8u}, signedDigest;
    SignatureState state = ParseSignature(signature, signedDigest, publisher);
    if (state != kSignatureIntact)
        return state;
    // the image digest leaves out the checksum, the table's entry and the table
    CSha256 hash;
    hash.Add(image, checksum);
    hash.Add(image + checksum + 4, entry - checksum - 4);
    hash.Add(image + entry + 8, table - entry - 8);
    uint8_t digest[CSha256::kSize];
    hash.Finish(digest);
    return memcmp(digest, signedDigest.p, sizeof digest) == 0 ? kSignatureIntact : kSignatureBroken;
}

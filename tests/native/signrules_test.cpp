#include <gtest/gtest.h>

#include <string>

#include "signrules.h"

namespace {

std::string Hex(const uint8_t* p, size_t n)
{
    std::string s;
    for (size_t i = 0; i < n; ++i)
        s += "0123456789abcdef"[p[i] >> 4], s += "0123456789abcdef"[p[i] & 15];
    return s;
}

std::string Tlv(int tag, const std::string& contents)
{
    std::string s(1, (char)tag);
    if (contents.size() < 128)
        s += (char)contents.size();
    else
        s += "\x82", s += (char)(contents.size() >> 8), s += (char)contents.size();
    return s + contents;
}
std::string Seq(const std::string& c) { return Tlv(0x30, c); }
std::string Oid(const std::string& c) { return Tlv(0x06, c); }
void Put32(std::string& s, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s[at + i] = (char)(v >> 8 * i);
}

const std::string kSha256Oid("\x60\x86\x48\x01\x65\x03\x04\x02\x01", 9);
const std::string kSha1Oid("\x2B\x0E\x03\x02\x1A", 5);

// A small PE32 image (headers and one block of code), signed as a signing
// tool appends it: the signature's digest is the image's; the signer named
// by nameType (common name), its certificate found by serial.
std::string SignedImage(std::string* unsigned_ = nullptr, const std::string& digestOid = kSha256Oid,
                        const std::string& nameType = "\x55\x04\x03", const std::string& signerSerial = "\x07")
{
    std::string image(0x200, '\0');
    image[0] = 'M', image[1] = 'Z';
    Put32(image, 0x3C, 0x40);
    image.replace(0x40, 4, "PE\0\0", 4);
    image[0x40 + 20] = (char)224;                      // the optional header's size
    image[0x58] = 0x0B, image[0x59] = 0x01;            // PE32
    Put32(image, 0x58 + 92, 16);                       // data directories
    image += std::string(0x200, '\x90');
    if (unsigned_)
        *unsigned_ = image;
    const size_t checksum = 0x58 + 64, entry = 0x58 + 96 + 32;
    CSha256 hash;
    hash.Add(image.data(), checksum);
    hash.Add(image.data() + checksum + 4, entry - checksum - 4);
    hash.Add(image.data() + entry + 8, image.size() - entry - 8);
    uint8_t digest[32];
    hash.Finish(digest);
    std::string issuer = Seq(Tlv(0x31, Seq(Oid("\x55\x04\x03") + Tlv(0x0C, "Test CA"))));
    std::string subject = Seq(Tlv(0x31, Seq(Oid(nameType) + Tlv(0x0C, "Zyne Systems"))));
    std::string certificate = Seq(Seq(Tlv(0xA0, Tlv(0x02, "\x02")) + Tlv(0x02, "\x07") + Seq(Oid(kSha256Oid)) +
                                      issuer + Seq("") + subject));
    std::string indirect = Seq(Oid("\x2B\x06\x01\x04\x01\x82\x37\x02\x01\x04") +
                               Tlv(0xA0, Seq(Seq(Oid("\x2B\x06\x01\x04\x01\x82\x37\x02\x01\x0F")) +
                                             Seq(Seq(Oid(digestOid)) + Tlv(0x04, std::string((char*)digest, 32))))));
    std::string signer = Seq(Tlv(0x02, "\x01") + Seq(issuer + Tlv(0x02, signerSerial)));
    std::string pkcs7 = Seq(Oid("\x2A\x86\x48\x86\xF7\x0D\x01\x07\x02") +
                            Tlv(0xA0, Seq(Tlv(0x02, "\x01") + Tlv(0x31, "") + indirect + Tlv(0xA0, certificate) +
                                          Tlv(0xA1, "") + Tlv(0x31, signer))));
    std::string table(8, '\0');
    Put32(table, 0, 8 + pkcs7.size());
    table[5] = 0x02, table[6] = 0x02;
    table += pkcs7;
    table.resize((table.size() + 7) & ~7);
    Put32(image, entry, image.size());
    Put32(image, entry + 4, table.size());
    return image + table;
}

SignatureState Read(const std::string& image, std::string& publisher)
{
    char name[kPublisherSize];
    SignatureState state = ReadSignature((const uint8_t*)image.data(), image.size(), name);
    publisher = name;
    return state;
}

}  // namespace

TEST(Sha256, KnownDigestsWhateverTheAddsSplit)
{
    struct { std::string text, digest; } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        // 56 bytes: the length no longer fits the first block
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    };
    for (const auto& c : cases)
        for (size_t split : {(size_t)0, c.text.size() / 2, c.text.size()}) {
            CSha256 hash;
            hash.Add(c.text.data(), split);
            hash.Add(c.text.data() + split, c.text.size() - split);
            uint8_t digest[32];
            hash.Finish(digest);
            EXPECT_EQ(Hex(digest, 32), c.digest) << c.text.size() << " bytes split at " << split;
        }
}

TEST(Signatures, ReadAsTheImageAndItsSignatureStand)
{
    std::string plain;
    const std::string good = SignedImage(&plain);
    struct { const char* what; std::string image; SignatureState state; const char* publisher; } cases[] = {
        {"signed", good, kSignatureIntact, "Zyne Systems"},
        {"signer named by organisation", SignedImage(nullptr, kSha256Oid, "\x55\x04\x0A"), kSignatureIntact, "Zyne Systems"},
        {"code changed", std::string(good).replace(0x300, 1, "\xCC"), kSignatureBroken, "Zyne Systems"},
        {"checksum set", std::string(good).replace(0x58 + 64, 1, "\x01"), kSignatureIntact, "Zyne Systems"},
        {"data after the signature", good + "x", kSignatureBroken, ""},
        {"signature cut", good.substr(0, good.size() - 24), kSignatureBroken, ""},
        {"SHA-1", SignedImage(nullptr, kSha1Oid), kSignatureOtherDigest, "Zyne Systems"},
        {"no certificate of the signer", SignedImage(nullptr, kSha256Oid, "\x55\x04\x03", "\x08"), kSignatureUnreadable, ""},
        {"not a signature", std::string(good).replace(0x400 + 8, 1, "\x31"), kSignatureUnreadable, ""},
        {"length past the table", std::string(good).replace(0x400 + 1, 1, "\x7F"), kSignatureUnreadable, ""},
        {"unsigned", plain, kUnsigned, ""},
        {"no program", "MZ" + std::string(100, '\0'), kNotProgram, ""},
        {"text", std::string(200, 'x'), kNotProgram, ""},
    };
    std::string publisher;
    for (const auto& c : cases) {
        EXPECT_EQ(Read(c.image, publisher), c.state) << c.what;
        EXPECT_EQ(publisher, c.publisher) << c.what;
    }
    // each byte of the signature's head cut or changed: read as broken or unreadable, never out of bounds
    for (size_t n = 0x400; n < good.size(); n += 3) {
        SignatureState cut = Read(good.substr(0, n), publisher);
        SignatureState flipped = Read(std::string(good).replace(n, 1, "\xFF"), publisher);
        EXPECT_TRUE(cut == kSignatureBroken || cut == kSignatureUnreadable) << "cut at " << n;
        EXPECT_NE(flipped, kUnsigned) << "changed at " << n;
    }
}

// Authenticode signatures of a set's programs, read from the file's bytes:
// does the image still match the digest its signature carries, and who
// signed it. The signature's own cryptography and its chain to a root are
// not checked (that is the signing tool's and Windows' work). No Windows
// headers.
#pragma once
#include <stddef.h>
#include <stdint.h>

class CSha256 {
public:
    enum { kSize = 32 };
    CSha256();
    void Add(const void* data, size_t size);
    void Finish(uint8_t (&digest)[kSize]);

private:
    void Block(const uint8_t* p);
    uint32_t m_state[8];
    uint8_t m_buffer[64];
    uint64_t m_length;
};

enum SignatureState {
    kNotProgram,          // no PE image: not a program, nothing to say
    kUnsigned,
    kSignatureIntact,     // the image's digest is the one signed
    kSignatureBroken,     // the image changed after signing
    kSignatureUnreadable, // a signature is there but cannot be read
    kSignatureOtherDigest // signed with a digest other than SHA-256: not checked
};

// The longest publisher name kept; a longer one is shortened with "...".
enum { kPublisherSize = 128 };

// Reads the signature of the PE image image[0..size). publisher receives the
// signing certificate's common name (else its organisation) for a readable
// signature, else "".
SignatureState ReadSignature(const uint8_t* image, size_t size, char (&publisher)[kPublisherSize]);

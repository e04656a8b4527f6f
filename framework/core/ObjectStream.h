// Writing any typed object to a stream in its tagged form and reading it
// back, creating the right class through the type factory chain.
#pragma once

#include <cstdint>
#include <functional>

class CRkStream;
class CRkType;

// Writes "BTyp", type id, serial, the object's body, "ETyp", type id,
// serial (all u32 big-endian). Each call takes the next serial number.
// Returns 0 or the first error (1 for a null object or stream).
int32_t WriteObject(const CRkType* object, CRkStream* stream);

// Reads one tagged object. On success *out holds a new object (reference
// count 1, released by the caller); on any error *out is null and nothing
// is leaked. 54 for bad framing or an unknown type id (the stream is then
// left at the start of the object's tag), 1 for a null argument or
// objects nested deeper than kMaxObjectNesting.
int32_t ReadObject(CRkStream* stream, CRkType** out);

inline constexpr uint32_t kMaxObjectNesting = 256;

// The body of a typed container: u32 version (0), u32 count, then count
// items. Reads the version and count and calls `readItem` once per item,
// stopping at the first error, which it returns; kStreamNewerVersion for a
// version above 0. Nothing is reserved for the count: a corrupt count
// simply runs into the end of the data.
int32_t ReadCountedItems(CRkStream& stream, const std::function<int32_t()>& readItem);

// The process-wide serial counter (starts at 0). Until the global
// variables block owns it, a file-level counter serves; the globals attach
// their own with SetObjectSerialCounter(&theirs) and detach with nullptr.
uint32_t NextObjectSerial();
void ResetObjectSerial(uint32_t value = 0);
void SetObjectSerialCounter(uint32_t* counter);

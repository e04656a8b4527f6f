// The book file's layout constants and field offsets, shared by the writer
// (AssembleBook and the record lists), the reader (CLDBFile) and the
// vellumix-book tool. The whole layout is described in docs/ldb-format.md;
// the names below follow its tables.
#pragma once

#include <cstdint>

#include "framework/io/File.h"

// Container header (78 bytes) and record list.
inline constexpr uint32_t kContainerHeaderSize = 78;
inline constexpr uint32_t kDatabaseNameField = 32;
// Characters of a database name before its NUL.
inline constexpr uint32_t kDatabaseNameMax = 29;
inline constexpr uint32_t kAttributesAt = 32;
inline constexpr uint32_t kVersionAt = 34;
inline constexpr uint32_t kCreationTimeAt = 36;
inline constexpr uint32_t kModificationTimeAt = 40;
inline constexpr uint32_t kBackupTimeAt = 44;
inline constexpr uint32_t kModificationNumberAt = 48;
inline constexpr uint32_t kAppInfoOffsetAt = 52;
inline constexpr uint32_t kSortInfoOffsetAt = 56;
inline constexpr uint32_t kTypeCodeAt = 60;
inline constexpr uint32_t kCreatorCodeAt = 64;
inline constexpr uint32_t kUniqueIdSeedAt = 68;
inline constexpr uint32_t kNextRecordListAt = 72;
inline constexpr uint32_t kRecordCountAt = 76;
inline constexpr uint16_t kContainerAttributes = 0x0008;
// Record list entry: u32 offset, u8 attributes, 3-byte unique ID.
inline constexpr uint32_t kRecordEntrySize = 8;
inline constexpr uint32_t kUniqueIdMask = 0x00FFFFFF;
inline constexpr uint32_t kFirstUniqueId = 0x6F8000;
// Zero bytes between the record list and record 0.
inline constexpr uint32_t kRecordListGap = 2;

// The four-character codes, as FourCC makes them.
inline constexpr uint32_t kBookTypeCode = FourCC("VxBk");
inline constexpr uint32_t kDictionaryTypeCode = FourCC("VxDc");
inline constexpr uint32_t kCreatorCode = FourCC("VxCr");

// Book header record (record 0).
inline constexpr uint32_t kBookHeaderRecordSize = 132;
inline constexpr uint16_t kBookFormatVersion = 10;
inline constexpr uint8_t kBookHeaderByte34 = 10;
// Feature bits of every book, and the one a dictionary adds.
inline constexpr uint32_t kBaseFeatures = 0x00006240;
inline constexpr uint32_t kDictionaryFeature = 0x00040000;
// Bytes 64-131 are zero.
inline constexpr uint32_t kBookHeaderZerosAt = 64;

// Text records: each one whole zlib stream of at most this many bytes of
// text (the reader's buffer per record).
inline constexpr uint32_t kMaxTextRecordSize = 8192;

// Page-table entry: u16 page, u16 text record, u16 offset, u32 text
// position, u16 style word; a record holds at most 16000 bytes of them.
inline constexpr uint32_t kPageEntrySize = 12;
inline constexpr uint32_t kPageEntriesPerRecord = 16000 / kPageEntrySize;
inline constexpr uint32_t kPageStyleAt = 10;

// Image record: "PNG ", 32-byte name field, 22 zero bytes, u16 width,
// u16 height, then the PNG data.
inline constexpr uint32_t kImageRecordHeaderSize = 62;
inline constexpr char kImageTag[] = "PNG ";
inline constexpr uint32_t kImageTagSize = 4;
inline constexpr uint32_t kImageNameAt = 4;
inline constexpr uint32_t kImageNameField = 32;
inline constexpr uint32_t kImageWidthAt = 58;
inline constexpr uint32_t kImageHeightAt = 60;
// Stored images stay below this many bytes of PNG data.
inline constexpr uint32_t kMaxImageDataSize = 65444;

// An index group's records stop once their entries pass this many bytes.
inline constexpr uint32_t kIndexGroupLimit = 62000;

// End marker record: these 8 bytes and a NUL.
inline constexpr char kEndMarker[] = "MeTaInFo";
inline constexpr uint32_t kEndMarkerSize = sizeof kEndMarker;

#pragma once

// Every text the data manager logs or shows. The first %s of an operation's
// line is the operation's name.

// Misuse.
inline constexpr const char kMessageNullKey[] = "%s: key is null, nothing was set.";
inline constexpr const char kMessageNullName[] = "%s: name is null.";
inline constexpr const char kMessageNullDatabase[] = "%s: database is null.";

// Reading.
inline constexpr const char kMessageUnreadable[] = "%s: unable to read '%s', the database is empty.";
inline constexpr const char kMessageInvalidXML[] =
    "%s: '%s' is not a valid XML database (%s at byte %lld), the database is empty.";
inline constexpr const char kMessageDamagedContainer[] =
    "%s: scrambled database '%s' is damaged (%s), the database is empty.";
inline constexpr const char kMessageMemoryInvalid[] = "XML database file loaded from memory is invalid!";

// Why an XML text is not a database; each stands beside pugixml's own descriptions.
inline constexpr const char kReasonNotOneRootElement[] = "not exactly one root element";

// Why a scrambled container is damaged.
inline constexpr const char kReasonContainerTruncated[] = "shorter than its header";
inline constexpr const char kReasonContainerLength[] = "length does not match the file size";
inline constexpr const char kReasonContainerChecksum[] = "checksum does not match";

// Writing.
inline constexpr const char kMessageNotWritable[] = "%s: database '%s' cannot be written (%s).";
inline constexpr const char kReasonInvalidKey[] = "a key is not a valid XML attribute name";
inline constexpr const char kReasonTooLarge[] = "the written text would exceed 2 GB";
inline constexpr const char kMessageNoFileSystem[] = "%s: no file system is set up to write '%s' to.";

// Saved-game archives over libzip, or written by hand when the saved game is all they hold.
// Updating never writes into the old archive: a new archive is built beside it and renamed over
// it only once it is complete and on disk.
#include "platform/ZipMaster.h"

#include <fcntl.h>
#include <unistd.h>
#include <libdeflate.h>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/Deflate.h"
#include "platform/Inflate.h"
#include "platform/Paths.h"
#include "platform/TextUtil.h"
#include "platform/ZipFileWriter.h"

namespace qj {
namespace {

// A saved game of 5,000 pieces with rotation is a few hundred megabytes; beyond this a member
// cannot be a saved game.
constexpr zip_uint64_t kMaxMemberSize = zip_uint64_t(1) << 30;
// A member's size field is only a claim: the buffer grows as data actually arrives, so a damaged
// or hostile archive costs at most this much memory beyond what it really holds.
constexpr size_t kFirstReserve = size_t(64) << 20;
constexpr size_t kReadChunk = size_t(16) << 20;

struct TZipDiscard {
  void operator()(zip_t* za) const { zip_discard(za); }
};
using TZipPtr = std::unique_ptr<zip_t, TZipDiscard>;

TZipPtr OpenArchive(const std::string& path, int flags, std::string& error) {
  int code = 0;
  zip_t* za = zip_open(path.c_str(), flags, &code);
  if (!za && code == ZIP_ER_EXISTS) {
    // Only the consistency check raises this on opening: two members carry the same name.
    error = "archive " + path + " is refused: it holds two members of the same name";
  } else if (!za) {
    zip_error_t e;
    zip_error_init_with_code(&e, code);
    error = "cannot open archive " + path + ": " + zip_error_strerror(&e);
    zip_error_fini(&e);
  }
  return TZipPtr(za);
}

std::string BareName(const char* name) {
  const char* slash = std::strrchr(name, '/');
  return slash ? slash + 1 : name;
}


// How many members have the bare name `name` (case ignored); `first` receives the first of them.
int CountMembers(zip_t* za, const std::string& name, zip_int64_t& first) {
  int found = 0;
  first = -1;
  const zip_int64_t count = zip_get_num_entries(za, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* n = zip_get_name(za, zip_uint64_t(i), ZIP_FL_ENC_GUESS);
    if (!n || !SameName(BareName(n), name)) continue;
    if (found++ == 0) first = i;
  }
  return found;
}

// Up to `size` bytes of the member, growing `out` chunk by chunk; stops early when the data does.
void ReadChunks(zip_file_t* f, size_t size, std::vector<uint8_t>& out) {
  out.clear();
  out.reserve(std::min(size, kFirstReserve));
  while (out.size() < size) {
    const size_t at = out.size();
    const size_t chunk = std::min(kReadChunk, size - at);
    // Doubling, but never beyond the declared size: a big save is not left with half again as
    // much memory unused.
    if (at + chunk > out.capacity()) out.reserve(std::min(size, std::max(at + chunk, 2 * out.capacity())));
    out.resize(at + chunk);
    const zip_int64_t n = zip_fread(f, out.data() + at, chunk);
    out.resize(at + size_t(std::max<zip_int64_t>(n, 0)));
    if (n <= 0) break;
  }
}

const char* ShortOrLong(size_t got, size_t declared) {
  return got < declared ? "it holds less than its size" : "it holds more than its size";
}

// Through libzip's own decompression; reading on to the end makes libzip check the CRC.
bool ReadMemberSlowly(zip_t* za, zip_uint64_t index, size_t size, std::vector<uint8_t>& out, std::string& error) {
  zip_file_t* f = zip_fopen_index(za, index, 0);
  if (!f) {
    error = std::string("cannot open archive member: ") + zip_strerror(za);
    return false;
  }
  ReadChunks(f, size, out);
  uint8_t extra = 0;
  const bool whole = out.size() == size;
  const bool ok = whole && zip_fread(f, &extra, 1) == 0;
  if (!ok) {
    // A short or long member is no error to libzip, only to its size field.
    const bool libzipSaw = zip_error_code_zip(zip_file_get_error(f)) != ZIP_ER_OK;
    error = std::string("archive member is damaged: ") +
            (libzipSaw ? zip_file_strerror(f) : ShortOrLong(out.size() + (whole ? 1 : 0), size));
  }
  zip_fclose(f);
  return ok;
}

// The deflated sizes of the member's independent chunks, as our own writer lists them; none when
// the archive lists nothing.
std::vector<uint32_t> ChunkList(zip_t* za, zip_uint64_t index) {
  zip_uint16_t length = 0;
  const zip_uint8_t* field = zip_file_extra_field_get_by_id(za, index, kChunkListField, 0, &length, ZIP_FL_CENTRAL);
  std::vector<uint32_t> sizes;
  for (size_t i = 0; field && length % 4 == 0 && i < length; i += 4)
    sizes.push_back(uint32_t(field[i]) | uint32_t(field[i + 1]) << 8 | uint32_t(field[i + 2]) << 16 | uint32_t(field[i + 3]) << 24);
  return sizes;
}

// A deflated member's raw bytes, inflated by libdeflate: several times faster than libzip's
// small-buffer pipeline. Chunk by chunk on every core when the archive lists its chunks, else (or
// when the list does not hold) in one call. Deflate packs at most 1032 bytes into one, so a size
// field claiming more than that of the bytes really there is refused before anything is allocated.
bool InflateMember(zip_t* za, zip_uint64_t index, const zip_stat_t& st, std::vector<uint8_t>& out, std::string& error) {
  zip_file_t* f = zip_fopen_index(za, index, ZIP_FL_COMPRESSED);
  if (!f) {
    error = std::string("cannot open archive member: ") + zip_strerror(za);
    return false;
  }
  std::vector<uint8_t> packed;
  ReadChunks(f, size_t(st.comp_size), packed);
  zip_fclose(f);
  const size_t size = size_t(st.size);
  if (packed.size() != st.comp_size || size / 1032 > packed.size()) {
    error = std::string("archive member is damaged: ") + ShortOrLong(packed.size() * 1032, size);
    return false;
  }
  out.resize(size);
  uint32_t crc = 0;
  if (InflateChunks(packed.data(), packed.size(), ChunkList(za, index), TParallelDeflate::kChunkSize, out.data(), size, crc) &&
      crc == st.crc)
    return true;
  size_t produced = 0;
  libdeflate_decompressor* inflater = libdeflate_alloc_decompressor();
  const libdeflate_result result = inflater ? libdeflate_deflate_decompress(inflater, packed.data(), packed.size(),
                                                                            out.data(), size, &produced)
                                            : LIBDEFLATE_BAD_DATA;
  libdeflate_free_decompressor(inflater);
  if (result == LIBDEFLATE_SUCCESS && produced == size && libdeflate_crc32(0, out.data(), size) == st.crc) return true;
  const char* fault = result == LIBDEFLATE_INSUFFICIENT_SPACE ? ShortOrLong(size + 1, size)
                      : result != LIBDEFLATE_SUCCESS          ? "its deflated data is broken"
                      : produced < size                       ? ShortOrLong(produced, size)
                                                              : "CRC error";
  error = std::string("archive member is damaged: ") + fault;
  return false;
}

// Reads the whole member, checked against its size and CRC.
bool ReadMember(zip_t* za, zip_uint64_t index, std::vector<uint8_t>& out, std::string& error) {
  zip_stat_t st;
  if (zip_stat_index(za, index, 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE) || st.size > kMaxMemberSize) {
    error = "archive member has no usable size";
    return false;
  }
  constexpr zip_uint64_t kInflatable = ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_CRC | ZIP_STAT_ENCRYPTION_METHOD;
  const bool plainDeflate = (st.valid & kInflatable) == kInflatable && st.comp_method == ZIP_CM_DEFLATE &&
                            st.encryption_method == ZIP_EM_NONE;
  return plainDeflate ? InflateMember(za, index, st, out, error) : ReadMemberSlowly(za, index, size_t(st.size), out, error);
}

// A member to write: its bare name and bytes, or its deflated bytes, that stay alive until the
// archive is closed.
struct TNewMember {
  std::string Name;
  const uint8_t* Data = nullptr;
  size_t Size = 0;
  const TParallelDeflate* Deflated = nullptr;
};

// A source of data deflated already: its statistics say so, with the size and CRC of the
// original, so libzip copies the bytes as they are instead of compressing them again.
struct TDeflatedSource {
  const TParallelDeflate* Deflated = nullptr;
  size_t Position = 0;
  zip_error_t Error{};
};

zip_int64_t DeflatedCallback(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
  auto& source = *static_cast<TDeflatedSource*>(state);
  const std::vector<uint8_t>& bytes = source.Deflated->Output();
  switch (command) {
    case ZIP_SOURCE_OPEN: source.Position = 0; return 0;
    case ZIP_SOURCE_READ: {
      const size_t n = std::min(size_t(length), bytes.size() - source.Position);
      std::memcpy(data, bytes.data() + source.Position, n);
      source.Position += n;
      return zip_int64_t(n);
    }
    case ZIP_SOURCE_CLOSE: return 0;
    case ZIP_SOURCE_STAT: {
      auto* st = static_cast<zip_stat_t*>(data);
      zip_stat_init(st);
      st->size = source.Deflated->InputSize();
      st->comp_size = bytes.size();
      st->comp_method = ZIP_CM_DEFLATE;
      st->crc = source.Deflated->Crc();
      st->encryption_method = ZIP_EM_NONE;
      st->valid = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_CRC | ZIP_STAT_ENCRYPTION_METHOD;
      return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR: return zip_error_to_data(&source.Error, data, length);
    case ZIP_SOURCE_FREE: delete &source; return 0;
    case ZIP_SOURCE_SUPPORTS:
      return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                            ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
    default: zip_error_set(&source.Error, ZIP_ER_OPNOTSUPP, 0); return -1;
  }
}

zip_source_t* MemberSource(zip_t* za, const TNewMember& m) {
  if (!m.Deflated) return zip_source_buffer(za, m.Data, m.Size, 0);
  auto* state = new TDeflatedSource{m.Deflated};
  zip_source_t* src = zip_source_function(za, DeflatedCallback, state);
  if (!src) delete state;
  return src;
}

bool AddBuffer(zip_t* za, const TNewMember& m, int level, std::string& error) {
  zip_source_t* src = MemberSource(za, m);
  const zip_int64_t index = src ? zip_file_add(za, m.Name.c_str(), src, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) : -1;
  if (index < 0) {
    if (src) zip_source_free(src);
    error = std::string("cannot add ") + m.Name + ": " + zip_strerror(za);
    return false;
  }
  const zip_int32_t method = level <= 0 && !m.Deflated ? ZIP_CM_STORE : ZIP_CM_DEFLATE;
  zip_set_file_compression(za, zip_uint64_t(index), method, zip_uint32_t(std::min(level, 9)));
  return true;
}

// Members of the old archive that no new file replaces, copied into the new one.
bool CopyKeptMembers(zip_t* to, zip_t* from, const std::vector<TNewMember>& added, std::string& error) {
  const zip_int64_t count = zip_get_num_entries(from, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(from, zip_uint64_t(i), ZIP_FL_ENC_RAW);
    if (!name) continue;
    const bool replaced = std::any_of(added.begin(), added.end(), [&](const TNewMember& m) { return SameName(BareName(name), m.Name); });
    if (replaced) continue;
    zip_source_t* src = zip_source_zip(to, from, zip_uint64_t(i), 0, 0, -1);
    if (!src || zip_file_add(to, name, src, ZIP_FL_ENC_RAW) < 0) {
      if (src) zip_source_free(src);
      error = std::string("cannot copy archive member ") + name + ": " + zip_strerror(to);
      return false;
    }
  }
  return true;
}

// Writes the archive out; on success the handle is gone, on failure it is left to be discarded.
// `target` is the archive the written one will become: the name the player knows.
bool CloseArchive(TZipPtr& za, const std::string& target, std::string& error) {
  if (zip_close(za.get()) == 0) {
    za.release();
    return true;
  }
  error = "cannot write the archive " + target + ": " + zip_strerror(za.get());
  return false;
}

// The contents go to `contents`, which the members point into.
bool LoadSpecFiles(const std::vector<std::string>& files, std::vector<std::vector<uint8_t>>& contents,
                   std::vector<TNewMember>& out, std::string& error) {
  if (files.empty()) {
    error = "no files to add";
    return false;
  }
  contents.resize(files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    const std::string name = ExtractFileName(files[i]);
    if (name.empty() || !ReadWholeFile(files[i], contents[i])) {
      error = "cannot read " + files[i];
      return false;
    }
    out.push_back({name, contents[i].data(), contents[i].size()});
  }
  return true;
}

// The finished temporary file renamed over the archive, or removed when writing it failed.
bool PutInPlace(const std::string& temp, const std::string& target, bool ok, std::string& error) {
  if (ok && rename(temp.c_str(), target.c_str()) != 0) {
    error = "cannot replace " + target + ": " + std::strerror(errno);
    ok = false;
  }
  if (!ok) unlink(temp.c_str());
  else SyncFolderOf(target);
  return ok;
}

// zip_close writes the file but does not flush it; without this a power loss right after the
// rename could leave the name on an empty file.
bool SyncFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = FileSync(fd) == 0;
  close(fd);
  return ok;
}

// Builds the new archive beside `zipFileName` from the old one's other members and `added`, and
// renames it over the old one. An existing archive that cannot be read is replaced rather than
// kept: its members are lost already, and refusing would lose the game being saved as well.
bool ReplaceArchive(const std::string& zipFileName, int level, const std::vector<TNewMember>& added, std::string& error) {
  const std::string target = ResolvePath(zipFileName);
  std::string ignored;
  TZipPtr old = FileExists(target) ? OpenArchive(target, ZIP_RDONLY | ZIP_CHECKCONS, ignored) : nullptr;
  const std::string temp = CreateTempFileBeside(target);
  if (temp.empty()) {
    error = "cannot create a file beside " + target + ": " + std::strerror(errno);
    return false;
  }
  TZipPtr fresh = OpenArchive(temp, ZIP_CREATE | ZIP_TRUNCATE, error);
  bool ok = fresh && (!old || CopyKeptMembers(fresh.get(), old.get(), added, error));
  for (size_t i = 0; ok && i < added.size(); ++i) ok = AddBuffer(fresh.get(), added[i], level, error);
  ok = ok && CloseArchive(fresh, target, error);
  fresh.reset();
  old.reset();  // only now: the copied members were read from it while closing
  if (ok && !SyncFile(temp)) {
    error = "cannot flush the new archive beside " + target + ": " + std::strerror(errno);
    ok = false;
  }
  return PutInPlace(temp, target, ok, error);
}

// True when the archive the member goes to would hold it alone: there is none yet, it cannot be
// read (and is replaced), or it holds nothing but the member's namesake.
bool HoldsOnlyNamesake(const std::string& target, const std::string& name) {
  if (!FileExists(target)) return true;
  std::string ignored;
  TZipPtr old = OpenArchive(target, ZIP_RDONLY | ZIP_CHECKCONS, ignored);
  zip_int64_t first = -1;
  return !old || CountMembers(old.get(), name, first) == zip_get_num_entries(old.get(), 0);
}

// The archive of the one member `write` produces, written by hand: every deflated chunk goes to
// the file as soon as it is joined, in large writes.
bool WriteOnlyMember(const std::string& zipFileName, const std::string& name, int level,
                     const std::function<void(const TByteSink&)>& write, std::string& error) {
  const std::string target = ResolvePath(zipFileName);
  const std::string temp = CreateTempFileBeside(target);
  const int fd = temp.empty() ? -1 : open(temp.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) {
    error = "cannot create a file beside " + target + ": " + std::strerror(errno);
    if (!temp.empty()) unlink(temp.c_str());
    return false;
  }
  TZipFileWriter zip(fd, name);
  bool ok = zip.Begin();
  TParallelDeflate deflated(level, 0, [&zip](const uint8_t* data, size_t size) { return zip.Append(data, size); });
  write([&deflated](const uint8_t* data, size_t size) { deflated.Write(data, size); });
  ok = deflated.Finish(error) && ok && zip.End(deflated.Crc(), deflated.InputSize(), deflated.ChunkSizes());
  if (!zip.LastError().empty()) error = "cannot write the archive " + target + ": " + zip.LastError();
  if (ok && FileSync(fd) != 0) {
    error = "cannot flush the new archive beside " + target + ": " + std::strerror(errno);
    ok = false;
  }
  close(fd);
  return PutInPlace(temp, target, ok, error);
}

}  // namespace

size_t TMemoryStream::Read(void* out, size_t count) {
  const size_t n = Position < Data.size() ? std::min(count, Data.size() - Position) : 0;
  if (n) std::memcpy(out, Data.data() + Position, n);
  Position += n;
  return n;
}

TMemoryStream* TZipMaster::ExtractMemberToStream(const std::string& name) {
  FSpecArgs = {name};
  FStream.Clear();
  FLastError.clear();
  TZipPtr za = OpenArchive(ResolvePath(ZipFileName), ZIP_RDONLY | ZIP_CHECKCONS, FLastError);
  if (!za) return nullptr;
  // A saved game must be the only member of its name: with two, which one is the game is a guess.
  zip_int64_t index = -1;
  const int found = CountMembers(za.get(), ExtractFileName(name), index);
  if (found != 1) {
    FLastError = "archive " + ZipFileName + (found == 0 ? " holds no member " : " holds more than one member ") + name;
    return nullptr;
  }
  std::vector<uint8_t> data;
  if (!ReadMember(za.get(), zip_uint64_t(index), data, FLastError)) return nullptr;
  FStream.Data = std::move(data);
  return &FStream;
}

bool TZipMaster::AddSpecifiedFiles() {
  FLastError.clear();
  std::vector<std::vector<uint8_t>> contents;
  std::vector<TNewMember> added;
  return LoadSpecFiles(FSpecArgs, contents, added, FLastError) && ReplaceArchive(ZipFileName, AddCompLevel, added, FLastError);
}

bool TZipMaster::AddMemberFromMemory(const std::string& name, const std::vector<uint8_t>& data) {
  return AddMemberFromWriter(name, [&data](const TByteSink& sink) { sink(data.data(), data.size()); });
}

bool TZipMaster::AddMemberFromWriter(const std::string& name, const std::function<void(const TByteSink&)>& write) {
  FLastError.clear();
  TNewMember member{ExtractFileName(name)};
  if (member.Name.empty()) {
    FLastError = "an archive member needs a name";
    return false;
  }
  if (HoldsOnlyNamesake(ResolvePath(ZipFileName), member.Name))
    return WriteOnlyMember(ZipFileName, member.Name, AddCompLevel, write, FLastError);
  TParallelDeflate deflated(AddCompLevel);
  write([&deflated](const uint8_t* data, size_t size) { deflated.Write(data, size); });
  if (!deflated.Finish(FLastError)) return false;
  member.Deflated = &deflated;
  return ReplaceArchive(ZipFileName, AddCompLevel, {member}, FLastError);
}

}  // namespace qj

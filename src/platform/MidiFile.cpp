#include "platform/MidiFile.h"

#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include "platform/FileBytes.h"
#include "platform/MidiFileReader.h"
#include "platform/MidiFileWriter.h"

namespace {

// The most tracks a file can name in its header.
constexpr std::size_t kMaxTracks = 0xFFFF;

struct SmfSession {
  char mode = 'r';
  std::filesystem::path path;
  MidiFileContent content;
  std::vector<std::size_t> readPos;  // per track, mode 'r'
};

std::map<HSMF, std::unique_ptr<SmfSession>>& Sessions() {
  static std::map<HSMF, std::unique_ptr<SmfSession>> sessions;
  return sessions;
}

std::string& LastError() {
  static std::string error;
  return error;
}

std::string& OpenNotes() {
  static std::string notes;
  return notes;
}

SmfSession* Find(HSMF handle, char mode) {
  auto it = Sessions().find(handle);
  if (it == Sessions().end() || it->second->mode != mode) return nullptr;
  return it->second.get();
}

HSMF NewHandle() {
  static HSMF next = 0x1000;
  do {
    ++next;
  } while (next == 0 || Sessions().count(next) != 0);
  return next;
}

MidiFileTrack* WriteTrackAt(SmfSession& session, DWORD track) {
  if (track >= kMaxTracks) return nullptr;
  if (session.content.tracks.size() <= track) session.content.tracks.resize(track + 1);
  return &session.content.tracks[track];
}

}  // namespace

HSMF OpenSMF(const char* fileName, DWORD* format, char mode, DWORD* tracks) {
  if (fileName == nullptr || format == nullptr || tracks == nullptr || (mode != 'r' && mode != 'w')) {
    LastError() = "bad arguments";
    return 0;
  }
  auto session = std::make_unique<SmfSession>();
  session->mode = mode;
  session->path = std::filesystem::path(fileName);
  if (mode == 'r') {
    // The size is checked before anything is read.
    fileio::ReadResult read = fileio::ReadFileUpTo(session->path, kMaxMidiFileBytes);
    if (read.error == fileio::ReadError::kTooLarge) {
      LastError() = "the file is too large for a MIDI file";
      return 0;
    }
    if (!read.ok()) {
      LastError() = read.message;
      return 0;
    }
    if (!ParseMidiFile(read.bytes, session->content, LastError())) return 0;
    OpenNotes().clear();
    for (const std::string& note : session->content.warnings) OpenNotes() += note + "\n";
    session->readPos.assign(session->content.tracks.size(), 0);
    *format = session->content.format;
    *tracks = static_cast<DWORD>(session->content.tracks.size());
  } else {
    if (*format > 2) {
      LastError() = "unknown MIDI file format";
      return 0;
    }
    session->content.format = static_cast<std::uint16_t>(*format);
    session->content.division = kMidiWriteDivision;
    *tracks = 0;
  }
  LastError().clear();
  const HSMF handle = NewHandle();
  Sessions()[handle] = std::move(session);
  return handle;
}

BOOL CloseSMF(HSMF handle) {
  auto it = Sessions().find(handle);
  if (it == Sessions().end()) return FALSE;
  std::unique_ptr<SmfSession> session = std::move(it->second);
  Sessions().erase(it);
  if (session->mode != 'w') return TRUE;
  const std::vector<std::uint8_t> bytes = MidiFileBytes(session->content);
  const fileio::WriteResult result =
      fileio::ReplaceFile(session->path, std::as_bytes(std::span<const std::uint8_t>(bytes)));
  if (!result.ok) {
    LastError() = result.message;
    return FALSE;
  }
  return TRUE;
}

void DiscardSMF(HSMF handle) { Sessions().erase(handle); }

void RewindSMF(HSMF handle) {
  if (SmfSession* s = Find(handle, 'r')) s->readPos.assign(s->content.tracks.size(), 0);
}

DWORD GetSMFResolution(HSMF handle) {
  auto it = Sessions().find(handle);
  return it == Sessions().end() ? 0 : it->second->content.division;
}

DWORD ReadSMF(HSMF handle, DWORD track, MidiShortEvent* buffer, DWORD max) {
  SmfSession* s = Find(handle, 'r');
  if (s == nullptr || buffer == nullptr || track >= s->content.tracks.size()) return 0;
  const auto& events = s->content.tracks[track].events;
  std::size_t& pos = s->readPos[track];
  DWORD n = 0;
  while (n < max && pos < events.size()) buffer[n++] = events[pos++];
  return n;
}

DWORD WriteSMF(HSMF handle, DWORD track, const MidiShortEvent* events, DWORD count) {
  SmfSession* s = Find(handle, 'w');
  if (s == nullptr || (events == nullptr && count != 0)) return 0;
  const std::span<const MidiShortEvent> run(events, count);
  std::string problem = CheckMidiEvents(run);
  if (!problem.empty()) {
    LastError() = std::move(problem);
    return 0;
  }
  MidiFileTrack* target = WriteTrackAt(*s, track);
  if (target == nullptr) {
    LastError() = "too many tracks";
    return 0;
  }
  target->events.insert(target->events.end(), run.begin(), run.end());
  return count;
}

int ReadMetaEvent(HSMF handle, DWORD track, BYTE type, const BYTE** data, DWORD* length) {
  SmfSession* s = Find(handle, 'r');
  if (s == nullptr || data == nullptr || length == nullptr || track >= s->content.tracks.size()) return -1;
  for (const MidiMetaEvent& meta : s->content.tracks[track].metas) {
    if (meta.type != type) continue;
    *data = meta.data.data();
    *length = static_cast<DWORD>(meta.data.size());
    return static_cast<int>(meta.data.size());
  }
  return -1;
}

int WriteMetaEvent(HSMF handle, DWORD track, BYTE type, const BYTE* data, DWORD length, DWORD time) {
  SmfSession* s = Find(handle, 'w');
  if (s == nullptr || (data == nullptr && length != 0) || time > kMidiMaxDelta || type >= 0x80 ||
      type == 0x2F)
    return -1;
  MidiFileTrack* target = WriteTrackAt(*s, track);
  if (target == nullptr) return -1;
  MidiMetaEvent meta;
  meta.before = static_cast<std::uint32_t>(target->events.size());
  const bool samePlace = !target->metas.empty() && target->metas.back().before == meta.before;
  const std::uint64_t offset = std::uint64_t{time} + (samePlace ? target->metas.back().offset : 0);
  if (offset > kMidiMaxDelta) return -1;
  meta.offset = static_cast<std::uint32_t>(offset);
  meta.type = type;
  if (length != 0) meta.data.assign(data, data + length);
  target->metas.push_back(std::move(meta));
  return 0;
}

const std::string& GetSMFLastError() { return LastError(); }
const std::string& GetSMFOpenNotes() { return OpenNotes(); }

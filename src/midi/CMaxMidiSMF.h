#pragma once
// A Standard MIDI File opened for reading or writing, with the event tracks
// attached to it in file track order (a track's place in the list is its track
// number in the file). Reading fills the attached tracks; writing writes each
// one with its name. Closing detaches every track but deletes none.

#include <string>
#include <vector>

#include "midi/MidiEventTrack.h"
#include "platform/MidiFile.h"

class CMaxMidiSMF {
 public:
  CMaxMidiSMF() = default;
  virtual ~CMaxMidiSMF();
  CMaxMidiSMF(const CMaxMidiSMF&) = delete;
  CMaxMidiSMF& operator=(const CMaxMidiSMF&) = delete;

  // Closes, then opens fileName in mode 'r' or 'w'; TRUE when open.
  BOOL Open(const char* fileName, char mode, DWORD format);
  // Closes the file (writing it in mode 'w') and detaches every track. FALSE
  // when the file could not be written (GetSMFLastError says why).
  BOOL Close();
  // Closes without writing anything (a write that failed half-way): a file
  // of that name stays as it was, and no new one appears.
  void Discard();

  // Attaches the track after the others (moving it from another wrapper);
  // more than one track makes the format 1.
  void AddTrack(MidiEventTrack* track);
  // Removes the track's first occurrence and clears its link; TRUE when found.
  BOOL RemoveTrack(MidiEventTrack* track);

  virtual BOOL ReadTrack(MidiEventTrack* track);
  // Writes the track's name, then its events from the cursor on with its
  // meta events among them at their ticks.
  virtual BOOL WriteTrack(MidiEventTrack* track);
  BOOL ReadAll();
  // Writes every attached track; FALSE as soon as one fails.
  BOOL WriteAll();
  // The track's first meta event of that type, copied into data; its length,
  // or -1 when absent or when the mode or the track does not fit.
  int ReadMetaEvent(MidiEventTrack* track, BYTE type, std::vector<BYTE>& data);
  // Writes a meta event into the track, time ticks after its last item.
  BOOL WriteMetaEvent(MidiEventTrack* track, BYTE type, const BYTE* data, DWORD length, DWORD time = 0);

  bool IsOpen() const { return m_open; }
  char GetMode() const { return m_mode; }
  DWORD GetFormat() const { return m_format; }
  DWORD GetNumTracks() const { return m_numTracks; }
  int GetTrackCount() const { return static_cast<int>(m_tracks.size()); }
  MidiEventTrack* GetTrack(int index) const { return m_tracks[static_cast<std::size_t>(index)]; }

 private:
  // The track's number in the file, -1 when it is not attached.
  int IndexOf(const MidiEventTrack* track) const;

  HSMF m_handle = 0;
  bool m_open = false;
  char m_mode = 0;
  DWORD m_format = 0;
  DWORD m_numTracks = 0;
  std::vector<MidiEventTrack*> m_tracks;
};

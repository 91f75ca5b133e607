// The contract between the player and the plug-in: request codes, commands, the records that
// travel with them, and the descriptor the exported entry hands out. The stand-in player
// includes this header and nothing else of the plug-in.
#pragma once

#include <windows.h>

#include <cstddef>

// Requests: message HOST_IPC, request code in lParam, argument in wParam, answer in the result.
const UINT HOST_IPC = WM_USER;

const int HOST_VERSION = 0;
const int HOST_PLAY_STATE = 104;
const int HOST_TRACK_TIME = 105;
const int HOST_JUMP_TO_TIME = 106;  // wParam: ms; answers 0 done, -1 nothing playing, 1 past the end
const int HOST_PLAYLIST_COUNT = 124;
const int HOST_PLAYLIST_INDEX = 125;
const int HOST_STREAM_INFO = 126;
const int HOST_ENTRY_PATH = 211;        // the path in the ANSI code page
const int HOST_ENTRY_PATH_WIDE = 214;   // the same as UTF-16 text
const int HOST_FILE_FIELD = 296;
const int HOST_RENDER_TEMPLATE = 297;
const int HOST_RENDER_TEMPLATE_WIDE = 298;
const int HOST_FILE_FIELD_WIDE = 3026;
// The player answers a request it does not know with this and touches nothing.
const LRESULT HOST_NOT_UNDERSTOOD = 1;
// The file field requests refuse an output larger than this (bytes or characters).
const int HOST_FIELD_OUTPUT_MOST = 65536;
const int HOST_REGISTER_PAGE = 332;
const int HOST_SHOW_PAGE = 380;  // wParam: a page record's address, or one of the player's page numbers
const int HOST_FILE_TITLE = 850;       // a hook point: the player itself answers 0, writes nothing
const int HOST_FILE_TITLE_WIDE = 851;  // answered by the player: 1 when it wrote a title
const int HOST_NAMED_REQUEST = 65536;
const int HOST_SERVICE_MANAGER = 3025;  // the player's service manager; 1 from players without one

// Selectors of HOST_TRACK_TIME (wParam).
const int HOST_TIME_POSITION = 0;  // playback position, milliseconds
const int HOST_TIME_LENGTH = 1;    // length of the current file, seconds; -1 unknown
const int HOST_TIME_LENGTH_MS = 2; // the same in milliseconds
const int HOST_POSITION_STOPPED = -1;  // the position answered while nothing plays

// Selectors of HOST_STREAM_INFO (wParam).
const int HOST_STREAM_SAMPLE_RATE = 0;     // in kHz (44 for 44.1 kHz)
const int HOST_STREAM_BITRATE = 1;
const int HOST_STREAM_CHANNELS = 2;
const int HOST_STREAM_VIDEO_SIZE = 3;  // width in the low 16 bits, height in the high 16 bits
const int HOST_STREAM_VIDEO_TEXT = 4;  // address of a text when above 0x10000 (UTF-16 from the
                                       // Unicode players on, ANSI before)
const int HOST_STREAM_SAMPLE_RATE_HZ = 5;  // in Hz; 0 from players that lack it

const char HOST_HOTKEY_ADD_NAME[] = "GenHotkeysAdd";

// Notifications the player sends its own main window (WM_USER, code in lParam): a file begins
// to play (wParam: its ANSI path, and its UTF-16 path), the play state changed (wParam 2).
const int HOST_NOTIFY_FILE_STARTS = 3003;
const int HOST_NOTIFY_FILE_STARTS_WIDE = 13003;
const int HOST_NOTIFY_PLAY_STATE = 603;

// The lowest player version the plug-in runs on.
const int HOST_VERSION_REQUIRED = 0x5001;

// Play states answered to HOST_PLAY_STATE.
const int HOST_STATE_STOPPED = 0;
const int HOST_STATE_PLAYING = 1;
const int HOST_STATE_PAUSED = 3;

// Player commands, sent as WM_COMMAND with the command in wParam and 0 in lParam.
const WORD HOST_CMD_PLAY = 40045;
const WORD HOST_CMD_PAUSE = 40046;

// The private message that drives capture; lParam names the action.
const UINT CAPTURE_MSG = 1912;
const LPARAM CAPTURE_MARK = 1;
const LPARAM CAPTURE_COMMIT = 2;
const LPARAM CAPTURE_CANCEL = 3;
const LPARAM CAPTURE_SAVE = 4;
const LPARAM CAPTURE_SHOW = 5;  // shows the Cue window

// Tag callbacks of the title formatter. A non-null value from the resolver belongs to the
// formatter until it hands it back to the free callback.
typedef char*(__cdecl* TagResolveProc)(const char* tag, void* context);
typedef void(__cdecl* TagFreeProc)(char* value, void* context);

// The same in UTF-16. The resolver may also return HOST_EMPTY_TAG_VALUE: the tag is its own and
// has no value (null: the tag is not its own). Neither of these reaches the free callback.
typedef wchar_t*(__cdecl* TagResolveWideProc)(const wchar_t* tag, void* context);
typedef void(__cdecl* TagFreeWideProc)(wchar_t* value, void* context);
#define HOST_EMPTY_TAG_VALUE ((wchar_t*)(LONG_PTR)-1)

// Every record field is 32 bits wide; the layouts are checked below.
struct FormatTitleRequest {
  const char* templateText;
  void* context;
  char* output;
  int outputSize;
  TagResolveProc resolveTag;
  TagFreeProc freeTagValue;
};

struct FormatTitleRequestWide {
  const wchar_t* fileName;  // the player formats nothing, output untouched, when null or empty
  int useFileTags;          // 0: only the callbacks give values
  const wchar_t* templateText;
  void* context;            // given to both callbacks
  wchar_t* output;
  int outputChars;
  TagResolveWideProc resolveTag;
  TagFreeWideProc freeTagValue;
};

struct ExtendedInfoRequest {
  const char* path;
  const char* field;
  char* output;
  int outputSize;
};

struct ExtendedInfoRequestWide {
  const wchar_t* path;
  const wchar_t* field;
  wchar_t* output;
  int outputChars;
};

// The player's title for a file; the UTF-16 form has the same layout.
struct TitleHookRequest {
  const char* path;
  char* title;
  int titleChars;        // the title buffer's size
  int forceFormatting;   // 0: the player's own choice
};

struct TitleHookRequestWide {
  const wchar_t* path;
  wchar_t* title;
  int titleChars;
  int forceFormatting;
};

struct PrefsPageRecord {
  HINSTANCE module;
  int dialogId;
  DLGPROC pageProc;
  const char* name;
  int reserved1;
  int pageId;  // written by the player when it builds its preferences tree
  int reserved2;
};

struct HotkeyRegistration {
  const char* name;
  int flags;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  const char* id;
  HWND window;  // 0: delivered to the player's main window
};

struct PluginDescriptor {
  int version;
  const char* description;
  int(__cdecl* init)(void);
  void(__cdecl* config)(void);
  void(__cdecl* quit)(void);
  HWND hostWindow;  // written by the player before init
  HINSTANCE module; // written by the player before init
};

const int PLUGIN_DESCRIPTOR_VERSION = 0x10;
const char PLUGIN_ENTRY_NAME[] = "winampGetGeneralPurposePlugin";
typedef PluginDescriptor*(__cdecl* PluginEntryProc)(void);

// The player's services are objects whose first word points to a table of functions; the first
// of them takes every call: a message number, where its result goes, a pointer to each
// argument's value (a GUID argument: a pointer to a copy of it) and their count. It answers
// non-zero when it handled the message; the caller keeps its default result otherwise. The
// player's compiler calls it as a member function (the object in ECX): so is a virtual function
// of a class of one virtual function here.
class DispatchObject {
 public:
  virtual int dispatch(int message, void* result, void** params, int count) = 0;
};

// Service manager: the factory of a service, by its GUID.
const int SERVICE_GET_FACTORY = 50;
// Service factory: the service itself (argument: int "global lock", 1), and its release
// (argument: the service).
const int FACTORY_GET_INTERFACE = 300;
const int FACTORY_RELEASE_INTERFACE = 310;

// The decode-file service: the player's input plug-ins decode any file they play into PCM.
const GUID DECODE_FILE_SERVICE = {0x9B4188F5, 0x4295, 0x48ab, {0xB5, 0x0C, 0xF2, 0xB0, 0xBB, 0x56, 0xD2, 0x42}};
const int DECODE_OPEN_BACKGROUND = 11;  // (UTF-16 file name, AudioParameters*) -> stream or null
const int DECODE_CLOSE = 20;            // (stream)
const int DECODE_CAN_DECODE = 30;       // (UTF-16 file name) -> int
// Message 10 opens in the foreground, which must not be used inside the player.

// Audio stream: interleaved PCM, read in the caller's thread.
const int STREAM_READ = 10;       // (buffer, size_t bytes) -> size_t bytes written, 0 at the end
const int STREAM_READ_KILLABLE = 11;
const int STREAM_SEEK_MS = 20;    // (int ms) -> int 1 done
const int STREAM_CAN_SEEK = 30;   // () -> int

// What the caller asks for and the decoder writes back: check it after the call.
const unsigned AUDIO_FLOAT_SAMPLES = 1;
const unsigned AUDIO_CHANNELS_AT_MOST = 2;
const unsigned AUDIO_RATE_AT_MOST = 4;
const unsigned AUDIO_OK = 0, AUDIO_FAILED = 1, AUDIO_UNSUPPORTED_TYPE = 2, AUDIO_NO_DIRECT_DECODING = 3,
               AUDIO_NOT_ALLOWED = 5, AUDIO_CANNOT_RESAMPLE = 6;
struct AudioParameters {
  unsigned bitsPerSample;  // 0: don't care
  unsigned channels;
  unsigned sampleRate;
  float sampleRateReal;
  unsigned flags;
  size_t sizeBytes;        // of the decoded file; (size_t)-1 unknown (preset so)
  unsigned errorCode;
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(AudioParameters) == 28, "AudioParameters layout");
static_assert(offsetof(AudioParameters, sizeBytes) == 20, "AudioParameters layout");
static_assert(offsetof(FormatTitleRequest, freeTagValue) == 20, "FormatTitleRequest layout");
static_assert(offsetof(ExtendedInfoRequest, outputSize) == 12, "ExtendedInfoRequest layout");
static_assert(offsetof(FormatTitleRequestWide, freeTagValue) == 28, "FormatTitleRequestWide layout");
static_assert(offsetof(ExtendedInfoRequestWide, outputChars) == 12, "ExtendedInfoRequestWide layout");
static_assert(sizeof(TitleHookRequest) == 16, "TitleHookRequest layout");
static_assert(sizeof(TitleHookRequestWide) == 16, "TitleHookRequestWide layout");
static_assert(offsetof(PrefsPageRecord, pageId) == 20, "PrefsPageRecord layout");
static_assert(offsetof(HotkeyRegistration, window) == 24, "HotkeyRegistration layout");
static_assert(offsetof(PluginDescriptor, module) == 24, "PluginDescriptor layout");
#endif

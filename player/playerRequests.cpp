// The stand-in player's answers to the plug-in's requests, each as the real player gives it:
// formatting in the player's title-formatting language, file fields, titles, named requests,
// stream facts, positions, paths, pages and the services.
#include "standInPlayer.h"

#include <algorithm>
#include <cstring>

#include "decodeService.h"
#include "titleFormat.h"
#include "wideText.h"

namespace {

const size_t kVideoTextChars = 1024;  // the player's UTF-16 video text buffer

std::string number(long long value) { return std::to_string(value); }

void copyOut(char* out, size_t outBytes, const std::string& text) {
  if (!out || outBytes == 0) return;
  size_t n = text.size() < outBytes - 1 ? text.size() : outBytes - 1;
  memcpy(out, text.data(), n);
  out[n] = '\0';
}

// The entry a request names by its path (UTF-8).
const PlaylistEntry* entryByPath(const std::vector<PlaylistEntry>& playlist, const std::string& path) {
  for (const PlaylistEntry& e : playlist)
    if (e.path == path) return &e;
  return nullptr;
}

void copyOutWide(wchar_t* out, size_t outChars, const std::string& utf8) {
  if (!out || outChars == 0) return;
  std::wstring text = widen(utf8);
  size_t n = text.size() < outChars - 1 ? text.size() : outChars - 1;
  memcpy(out, text.data(), n * sizeof(wchar_t));
  out[n] = L'\0';
}

}  // namespace

// Formats a template the player's way: tags through the callbacks, then every line break a
// blank. The tag callback's null means "not the plug-in's tag": then, with fileTags, the file's
// own fields give the value; the no-value mark and (UTF-16) an empty text mean none.
void StandInPlayer::renderTemplate(FormatTitleRequest* request) {
  lastRender = *request;
  if (!request->output || request->outputSize <= 0) return;
  memset(request->output, 0, (size_t)request->outputSize);
  std::string templateText = fromAnsi(request->templateText);
  renderedTemplates.push_back(request->templateText ? templateText : "(null)");
  std::string out = formatTitle(templateText, [&](const std::string& name, std::string* value) {
    ++formatter.tagCalls;
    std::string ansiName = toAnsi(name);
    char* given = request->resolveTag ? request->resolveTag(ansiName.c_str(), request->context) : nullptr;
    if (!given || given == (char*)(LONG_PTR)-1) return false;
    ++formatter.valuesReturned;
    if (!*given) ++formatter.emptyValues;
    *value = fromAnsi(given);
    if (request->freeTagValue) {
      request->freeTagValue(given, request->context);
      ++formatter.valuesFreed;
    }
    return true;
  });
  copyOut(request->output, (size_t)request->outputSize, toAnsi(blankLineBreaks(out)));
}

void StandInPlayer::renderTemplateWide(FormatTitleRequestWide* request) {
  lastRenderWide = *request;
  lastRenderFileName = request->fileName ? narrow(request->fileName) : "(null)";
  if (!request->fileName || !request->fileName[0]) return;  // untouched: no file, no formatting
  if (!request->output || request->outputChars <= 0) return;
  memset(request->output, 0, (size_t)request->outputChars * sizeof(wchar_t));
  std::string templateText = narrow(request->templateText);
  renderedTemplates.push_back(request->templateText ? templateText : "(null)");
  const PlaylistEntry* file = entryByPath(playlist, narrow(request->fileName));
  std::string out = formatTitle(templateText, [&](const std::string& name, std::string* value) {
    ++formatter.tagCalls;
    std::wstring wideName = widen(name);
    wchar_t* given = request->resolveTag ? request->resolveTag(wideName.c_str(), request->context) : nullptr;
    if (!given) {
      if (!request->useFileTags || !file) return false;
      auto found = file->fields.find(name);
      if (found == file->fields.end()) return false;
      *value = found->second;
      return true;
    }
    if (given == HOST_EMPTY_TAG_VALUE) return false;
    ++formatter.valuesReturned;
    if (!*given) ++formatter.emptyValues;
    *value = narrow(given);
    if (request->freeTagValue) {
      request->freeTagValue(given, request->context);
      ++formatter.valuesFreed;
    }
    return !value->empty();
  });
  copyOutWide(request->output, (size_t)request->outputChars, blankLineBreaks(out));
}

LRESULT StandInPlayer::notUnderstood(LPARAM code) {
  log("ipc " + number((long long)code));
  return HOST_NOT_UNDERSTOOD;
}

// 296 and 3026: a size above the limit or an empty file name is refused untouched; otherwise the
// output is zeroed and the input plug-in writes what it finds and answers.
LRESULT StandInPlayer::onFileField(WPARAM arg, bool wide) {
  std::string path, field;
  void* output;
  int size;
  if (wide) {
    ExtendedInfoRequestWide* request = (ExtendedInfoRequestWide*)arg;
    path = narrow(request->path);
    field = narrow(request->field);
    output = request->output;
    size = request->outputChars;
  } else {
    ExtendedInfoRequest* request = (ExtendedInfoRequest*)arg;
    path = fromAnsi(request->path);
    field = fromAnsi(request->field);
    output = request->output;
    size = request->outputSize;
  }
  log(std::string(wide ? "file-field-wide " : "file-field ") + (field.empty() ? "(null)" : field));
  if (path.empty() || !output || size <= 0 || size > HOST_FIELD_OUTPUT_MOST) return 0;
  memset(output, 0, (size_t)size * (wide ? sizeof(wchar_t) : 1));
  const PlaylistEntry* e = entryByPath(playlist, path);
  auto found = e && !field.empty() ? e->fields.find(field) : std::map<std::string, std::string>::const_iterator();
  if (!e || field.empty() || found == e->fields.end()) return 0;
  if (wide)
    copyOutWide((wchar_t*)output, (size_t)size, found->second);
  else
    copyOut((char*)output, (size_t)size, toAnsi(found->second));
  return fieldsAnswerZero ? 0 : 1;
}

// 850 is a hook point that the player answers 0 to, writing nothing (a hooked plug-in may write);
// 851 the player answers itself.
LRESULT StandInPlayer::onTitleRequest(WPARAM arg, bool wide) {
  if (wide) {
    TitleHookRequestWide* request = (TitleHookRequestWide*)arg;
    lastTitleHookWide = *request;
    log("file-title-wide");
    const PlaylistEntry* e = request->path ? entryByPath(playlist, narrow(request->path)) : nullptr;
    if (!e || !request->title || request->titleChars <= 0) return 0;
    copyOutWide(request->title, (size_t)request->titleChars, e->title);
    return 1;
  }
  TitleHookRequest* request = (TitleHookRequest*)arg;
  lastTitleHook = *request;
  log("file-title");
  if (titleHook && request->title && request->titleChars > 0)
    copyOut(request->title, (size_t)request->titleChars, toAnsi(titleHookText));
  return 0;
}

// Any name gets a code of its own above 65536; the hot-key plug-in's name the code it listens on.
LRESULT StandInPlayer::onNamedRequest(const char* name) {
  log(std::string("named ") + (name ? name : "(null)"));
  std::string key = name ? name : "";
  if (key == HOST_HOTKEY_ADD_NAME && hotkeyCode != 0) return hotkeyCode;
  auto found = named_.find(key);
  if (found != named_.end()) return found->second;
  int code = HOST_NAMED_REQUEST + 0x100 + (int)named_.size();
  named_[key] = code;
  return code;
}

LRESULT StandInPlayer::onRequest(WPARAM arg, LPARAM code) {
  switch (code) {
    case HOST_VERSION:
      log("version");
      return version;
    case HOST_PLAY_STATE:
      log("playstate");
      return playState;
    case HOST_TRACK_TIME: {
      // The position is known before the request is logged: a listener of the log reads it.
      if (arg == HOST_TIME_POSITION)
        positionAnswered = playState == HOST_STATE_STOPPED ? HOST_POSITION_STOPPED : position();
      log("time " + number((long long)arg));
      int length = lengthSeconds > 0 ? lengthSeconds : -1;
      switch (arg) {
        case HOST_TIME_POSITION:
          return positionAnswered;
        case HOST_TIME_LENGTH: return length;
        case HOST_TIME_LENGTH_MS: return length > 0 ? length * 1000 : -1;
        default: return 0;
      }
    }
    case HOST_JUMP_TO_TIME: {
      log("jump " + number((long long)arg));
      if (playState == HOST_STATE_STOPPED) return -1;
      if (lengthSeconds > 0 && (long long)arg > (long long)lengthSeconds * 1000) {
        // Past the end: the next entry plays.
        if (current + 1 < (int)playlist.size()) startEntry(current + 1);
        return 1;
      }
      seek((int)arg);
      return 0;
    }
    case HOST_PLAYLIST_COUNT:
      log("playlist-count");
      return (LRESULT)playlist.size();
    case HOST_PLAYLIST_INDEX:
      log("playlist-index");
      return current;
    case HOST_STREAM_INFO:
      log("stream " + number((long long)arg));
      switch (arg) {
        case HOST_STREAM_SAMPLE_RATE: return sampleRateHz / 1000;
        case HOST_STREAM_SAMPLE_RATE_HZ: return older ? 0 : sampleRateHz;
        case HOST_STREAM_BITRATE: return bitrate;
        case HOST_STREAM_CHANNELS: return channels;
        case HOST_STREAM_VIDEO_SIZE: return (LRESULT)videoSize;
        case HOST_STREAM_VIDEO_TEXT:
          if (!giveVideoText) return 0;
          if (older) {
            videoTextAnsi_ = toAnsi(videoText);
            return (LRESULT)videoTextAnsi_.c_str();
          }
          videoTextWide_.assign(kVideoTextChars, L'\0');
          copyOutWide(&videoTextWide_[0], kVideoTextChars, videoText);
          return (LRESULT)videoTextWide_.c_str();
        default: return 0;
      }
    case HOST_ENTRY_PATH:
    case HOST_ENTRY_PATH_WIDE: {
      bool wide = code == HOST_ENTRY_PATH_WIDE;
      if (wide && older) return notUnderstood(code);
      log(std::string(wide ? "entry-path-wide " : "entry-path ") + number((long long)arg));
      int index = (int)arg;
      if (index < 0 || index >= (int)playlist.size()) return 0;
      PlaylistEntry& e = playlist[(size_t)index];
      if (wide) {
        e.widePath = widen(e.path);
        return (LRESULT)e.widePath.c_str();
      }
      e.ansiPath = toAnsi(e.path);
      return (LRESULT)e.ansiPath.c_str();
    }
    case HOST_FILE_FIELD:
      return onFileField(arg, false);
    case HOST_FILE_FIELD_WIDE:
      if (older) return notUnderstood(code);
      return onFileField(arg, true);
    case HOST_FILE_TITLE:
      return onTitleRequest(arg, false);
    case HOST_FILE_TITLE_WIDE:
      if (older) return notUnderstood(code);
      return onTitleRequest(arg, true);
    case HOST_RENDER_TEMPLATE:
      log("render");
      renderTemplate((FormatTitleRequest*)arg);
      return 0;
    case HOST_RENDER_TEMPLATE_WIDE:
      if (older) return notUnderstood(code);
      log("render-wide");
      renderTemplateWide((FormatTitleRequestWide*)arg);
      return 0;
    case HOST_REGISTER_PAGE: {
      // The record is kept and linked in; its identifier is written when the tree is built.
      PrefsPageRecord* record = (PrefsPageRecord*)arg;
      pageRecords.push_back(record);
      pages.push_back(*record);
      log(std::string("register-page ") + (record->name ? record->name : "(null)"));
      return 1;
    }
    case HOST_SHOW_PAGE: {
      const PrefsPageRecord* shown = nullptr;
      for (size_t i = 0; i < pageRecords.size(); ++i)
        if ((WPARAM)pageRecords[i] == arg) shown = pageRecords[i];
      std::string named = shown ? "record " + number((long long)(std::find(pageRecords.begin(), pageRecords.end(), shown) -
                                                                   pageRecords.begin()))
                                : number((long long)arg);
      log("show-page " + named);
      shownPages.push_back(named);
      if (openPreferencesOnShowPage) openPreferences(shown);
      return 1;
    }
    case HOST_NAMED_REQUEST:
      return onNamedRequest((const char*)arg);
    case HOST_SERVICE_MANAGER:
      if (older || !decodeService) return notUnderstood(code);
      log("service-manager");
      return (LRESULT)decodeServiceManager();
    default:
      if (hotkeyCode != 0 && code == hotkeyCode) {
        const HotkeyRegistration* r = (const HotkeyRegistration*)arg;
        HotkeyAction action = {r->name ? r->name : "", r->id ? r->id : "", r->flags, r->message,
                               r->wParam, r->lParam, r->window};
        hotkeys.push_back(action);
        log("hotkey-add " + action.name);
        return 1;
      }
      return notUnderstood(code);
  }
}


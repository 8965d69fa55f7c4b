#include "audio/speech.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <mutex>

namespace korvex {
namespace {

std::string StatusText(espeak_ng_STATUS status) {
    char text[512] = {};
    espeak_ng_GetStatusCodeMessage(status, text, sizeof text);
    return text;
}

int Collect(short* wav, int count, espeak_EVENT* events) {
    if (wav == nullptr || count <= 0) return 0;
    auto* sound = static_cast<Sound*>(events->user_data);
    for (int i = 0; i < count; ++i) sound->samples.push_back(static_cast<float>(wav[i]) / 32768.0f);
    return 0;
}

// espeak-ng is set up once per process; the answer is kept, a failure too.
espeak_ng_STATUS Initialise(std::string& reason) {
    static espeak_ng_STATUS status = [] {
        espeak_ng_InitializePath(nullptr);
        espeak_ng_ERROR_CONTEXT context = nullptr;
        espeak_ng_STATUS s = espeak_ng_Initialize(&context);
        if (context) espeak_ng_ClearErrorContext(&context);
        if (s == ENS_OK) s = espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr);
        if (s == ENS_OK) espeak_SetSynthCallback(Collect);
        return s;
    }();
    if (status != ENS_OK) reason = StatusText(status);
    return status;
}

}  // namespace

SpeechResult Speak(std::string_view text, std::string_view language) {
    static std::mutex mutex;
    const std::lock_guard<std::mutex> lock(mutex);
    SpeechResult result;
    if (Initialise(result.reason) != ENS_OK) return result;

    const std::string voice(language);
    espeak_ng_STATUS status = espeak_ng_SetVoiceByName(voice.c_str());
    if (status != ENS_OK) {
        result.reason = voice + ": " + StatusText(status);
        return result;
    }
    const std::string utf8(text);
    result.sound.rate = espeak_ng_GetSampleRate();
    status = espeak_ng_Synthesize(utf8.c_str(), utf8.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr,
                                  &result.sound);
    if (status == ENS_OK) status = espeak_ng_Synchronize();
    if (status != ENS_OK) {
        result.reason = StatusText(status);
        result.sound.samples.clear();
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace korvex

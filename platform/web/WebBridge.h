// The page's side of the platform: functions of page/bridge.js, which the
// program calls to draw, play, store and show. Strings are UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

// The time of the page's clock (performance.now) in milliseconds.
double web_now_ms();
// Asks the page to call dovezi_pump after `delayMs` (the earliest request wins).
void web_schedule_pump(double delayMs);

// Shows the rectangle at (x, y) of `width` × `height` pixels of `screen`,
// the canvas's picture of screenWidth × screenHeight pixels in red, green,
// blue and alpha bytes, on the saver's canvas.
void web_present(const std::uint8_t* screen, int screenWidth, int screenHeight, int x, int y, int width, int height);
void web_hide_cursor();
// The saver has ended: the page shows its start screen again.
void web_saver_ended();
// Starts the full-screen saver once the present event is over, as the
// sheet's Preview does.
void web_start_saver_soon();

// The settings text kept by the page under `key`; the answer is the
// caller's to free, null when nothing is kept.
char* web_storage_read(const char* key);
// False when the page could not keep it.
int web_storage_write(const char* key, const char* text);

int web_midi_device_count();
// The caller frees the answer.
char* web_midi_device_name(int device);
void web_midi_send(int device, const std::uint8_t* bytes, std::size_t length, double whenMs);

// The settings sheet: caption and tabs, then each page's controls.
void web_sheet_open(const char* caption, int tabCount, int startPage);
void web_sheet_tab(int page, const char* title, int width, int height);
void web_sheet_icon(const std::uint8_t* iconFile, std::size_t size);
void web_sheet_apply_command(const char* text, int controlId);
void web_sheet_close();
// Shows a line about what went wrong in the open sheet.
void web_sheet_message(const char* text);
// One control: kind is the DialogControlKind's number; the rectangle is in pixels.
void web_control_add(int page, int id, int kind, const char* text, int x, int y, int width, int height,
                     int align, int disabled);
// The picture of the control added last.
void web_control_icon(const std::uint8_t* iconFile, std::size_t size);
void web_control_clear(int page, int id);
void web_control_add_entry(int page, int id, const char* text);
void web_control_select(int page, int id, int index);
void web_control_range(int page, int id, int minimum, int maximum, int ticFrequency, int pageSize, int lineSize);
void web_control_set_value(int page, int id, int value);
void web_control_set_text(int page, int id, const char* text);
void web_control_enable(int page, int id, int enable);
// Opens the browser's file picker for files matching `accept` (a list of
// extensions such as ".mid,.rmi"); a pick comes back through
// dovezi_sheet_file_chosen.
void web_choose_file(int page, int id, const char* accept);
}

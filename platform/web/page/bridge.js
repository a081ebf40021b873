// The program's calls to the page (declared in WebBridge.h): each hands the
// call to the page's scripts, DoveziPage (page.js), DoveziSheet (sheet.js)
// and DoveziMusic (music.js), in their own terms.
mergeInto(LibraryManager.library, {
    $doveziNewText__deps: ['malloc'],
    $doveziNewText: function (text) {
        if (text === null || text === undefined)
            return 0;
        var size = lengthBytesUTF8(text) + 1;
        var pointer = _malloc(size);
        stringToUTF8(text, pointer, size);
        return pointer;
    },
    $doveziBytes: function (pointer, size) {
        return HEAPU8.slice(pointer, pointer + size);
    },

    web_now_ms: function () { return performance.now(); },
    web_schedule_pump: function (delayMs) { DoveziPage.schedulePump(delayMs); },
    web_present: function (screen, screenWidth, screenHeight, x, y, width, height) {
        DoveziPage.present(screen, screenWidth, screenHeight, x, y, width, height);
    },
    web_hide_cursor: function () { DoveziPage.hideCursor(); },
    web_saver_ended: function () { DoveziPage.saverEnded(); },
    web_start_saver_soon: function () { setTimeout(function () { DoveziPage.startSaver(); }, 0); },

    web_storage_read__deps: ['$doveziNewText'],
    web_storage_read: function (key) { return doveziNewText(DoveziPage.readStored(UTF8ToString(key))); },
    web_storage_write: function (key, text) {
        return DoveziPage.store(UTF8ToString(key), UTF8ToString(text)) ? 1 : 0;
    },

    web_midi_device_count: function () { return DoveziMusic.deviceNames().length; },
    web_midi_device_name__deps: ['$doveziNewText'],
    web_midi_device_name: function (device) { return doveziNewText(DoveziMusic.deviceNames()[device]); },
    web_midi_send__deps: ['$doveziBytes'],
    web_midi_send: function (device, bytes, length, whenMs) {
        DoveziMusic.send(device, doveziBytes(bytes, length), whenMs);
    },

    web_sheet_open: function (caption, tabCount, startPage) {
        DoveziSheet.open(UTF8ToString(caption), tabCount, startPage);
    },
    web_sheet_tab: function (page, title, width, height) { DoveziSheet.tab(page, UTF8ToString(title), width, height); },
    web_sheet_icon__deps: ['$doveziBytes'],
    web_sheet_icon: function (iconFile, size) { DoveziSheet.icon(doveziBytes(iconFile, size)); },
    web_sheet_apply_command: function (text, controlId) { DoveziSheet.applyCommand(UTF8ToString(text), controlId); },
    web_sheet_close: function () { DoveziSheet.close(); },
    web_sheet_message: function (text) { DoveziSheet.message(UTF8ToString(text)); },
    web_control_add: function (page, id, kind, text, x, y, width, height, align, disabled) {
        DoveziSheet.addControl(page, id, kind, UTF8ToString(text), x, y, width, height, align, disabled !== 0);
    },
    web_control_icon__deps: ['$doveziBytes'],
    web_control_icon: function (iconFile, size) { DoveziSheet.controlIcon(doveziBytes(iconFile, size)); },
    web_control_clear: function (page, id) { DoveziSheet.clear(page, id); },
    web_control_add_entry: function (page, id, text) { DoveziSheet.addEntry(page, id, UTF8ToString(text)); },
    web_control_select: function (page, id, index) { DoveziSheet.select(page, id, index); },
    web_control_range: function (page, id, minimum, maximum, ticFrequency, pageSize, lineSize) {
        DoveziSheet.range(page, id, minimum, maximum, ticFrequency, pageSize, lineSize);
    },
    web_control_set_value: function (page, id, value) { DoveziSheet.setValue(page, id, value); },
    web_control_set_text: function (page, id, text) { DoveziSheet.setText(page, id, UTF8ToString(text)); },
    web_control_enable: function (page, id, enable) { DoveziSheet.enable(page, id, enable !== 0); },
    web_choose_file: function (page, id, accept) { DoveziSheet.chooseFile(page, id, UTF8ToString(accept)); },
});

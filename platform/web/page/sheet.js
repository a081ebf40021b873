// The settings sheet in the document: tabs, pages of absolutely placed
// HTML controls made from the program's dialog templates, and the sheet's
// buttons, as a modal dialog. The program decides everything; this draws
// and reports the user's actions back (the dovezi_sheet_* functions). The
// keyboard's part is in sheet-keys.js, the controls' names in
// sheet-names.js.
var DoveziSheet = (function () {
    'use strict';
    var KIND = { button: 0, check: 1, group: 2, label: 3, icon: 4, list: 5, slider: 6 };
    var ALIGN = ['left', 'center', 'right'];
    var root, pages = [], shown = -1, picker, lastAdded, opener = null;
    // Each page's controls as they were added, for naming them once the
    // page is complete.
    var added = [];

    function call(name, types, values) { return Module.ccall(name, 'number', types, values); }
    function element(tag, className, parent) {
        var made = document.createElement(tag);
        if (className)
            made.className = className;
        if (parent)
            parent.appendChild(made);
        return made;
    }
    // A text whose access key follows the mark \x01: the key underlined.
    function fillText(target, text) {
        target.textContent = '';
        var at = text.indexOf('\x01');
        if (at < 0 || at + 1 >= text.length) {
            target.textContent = text.replace('\x01', '');
            return;
        }
        target.appendChild(document.createTextNode(text.slice(0, at)));
        element('u', null, target).textContent = text.charAt(at + 1);
        target.appendChild(document.createTextNode(text.slice(at + 2)));
    }
    function iconUrl(bytes) { return URL.createObjectURL(new Blob([bytes], { type: 'image/x-icon' })); }
    // A control's element is its input, button or list; labels and
    // frames are their boxes.
    function input(page, id) { return document.getElementById('control-' + page + '-' + id); }
    function control(page, id) {
        var found = input(page, id);
        return found ? found.closest('.control') : null;
    }

    function markTab(tab, chosen) {
        tab.classList.toggle('chosen', chosen);
        tab.setAttribute('aria-selected', chosen ? 'true' : 'false');
        tab.tabIndex = chosen ? 0 : -1;
    }
    function showPage(page) {
        for (var i = 0; i < pages.length; ++i) {
            pages[i].hidden = i !== page;
            markTab(document.getElementById('sheet-tab-' + i), i === page);
        }
        shown = page;
        call('dovezi_sheet_show_page', ['number'], [page]);
    }
    // The page's controls get their names once the program has added them all.
    function nameLater(page) {
        if (added[page])
            return;
        added[page] = [];
        Promise.resolve().then(function () { DoveziSheetNames.name(page, added[page]); });
    }
    // The sheet is shrunk as a whole to fit a narrow screen.
    var MARGIN = 8;
    function fitToScreen() {
        if (!root || root.hidden)
            return;
        root.style.zoom = '';
        root.style.zoom = String(Math.min(1, (window.innerWidth - 2 * MARGIN) / root.offsetWidth));
    }
    window.addEventListener('resize', fitToScreen);
    // A line under the control `id` of page `page` about what it did.
    function showMessage(page, id, text) {
        var box = control(page, id), message = pages[page].querySelector('.control-message');
        if (!message) {
            message = element('p', 'control-message', pages[page]);
            message.setAttribute('role', 'alert');
        }
        message.style.top = (box.offsetTop + box.offsetHeight + 2) + 'px';
        message.textContent = text;
    }
    function end(ok) {
        call('dovezi_sheet_end', ['number'], [ok ? 1 : 0]);
    }

    return {
        open: function (caption, tabCount, startPage) {
            root = document.getElementById('sheet');
            root.textContent = '';
            root.setAttribute('role', 'dialog');
            root.setAttribute('aria-modal', 'true');
            root.setAttribute('aria-labelledby', 'sheet-caption');
            var title = element('div', 'sheet-title', root);
            element('img', 'sheet-icon', title).alt = '';
            var name = element('h2', null, title);
            name.id = 'sheet-caption';
            name.textContent = caption;
            element('div', 'sheet-tabs', root).setAttribute('role', 'tablist');
            element('div', 'sheet-pages', root);
            var buttons = element('div', 'sheet-buttons', root);
            [['sheet-ok', 'OK', function () { end(true); }], ['sheet-cancel', 'Cancel', function () { end(false); }],
             ['sheet-preview', 'Apply', null]].forEach(function (made) {
                var button = element('button', null, buttons);
                button.id = made[0];
                button.textContent = made[1];
                button.disabled = made[2] === null;
                if (made[2])
                    button.addEventListener('click', made[2]);
            });
            pages = [];
            added = [];
            shown = startPage;
            opener = document.activeElement;
            root.hidden = false;
            DoveziSheetKeys.attach(root, { ok: function () { end(true); }, cancel: function () { end(false); },
                showPage: showPage, tabCount: tabCount });
            DoveziPage.sheetShown(true);
            Promise.resolve().then(function () {
                fitToScreen();
                DoveziSheetKeys.focusFirst(root);
            });
        },
        tab: function (page, title, width, height) {
            var tab = element('button', 'sheet-tab', root.querySelector('.sheet-tabs'));
            tab.id = 'sheet-tab-' + page;
            tab.setAttribute('role', 'tab');
            tab.setAttribute('aria-controls', 'sheet-page-' + page);
            fillText(tab, title);
            tab.addEventListener('click', function () { showPage(page); });
            var body = element('div', 'sheet-page', root.querySelector('.sheet-pages'));
            body.id = 'sheet-page-' + page;
            body.setAttribute('role', 'tabpanel');
            body.setAttribute('aria-labelledby', tab.id);
            body.style.width = width + 'px';
            body.style.height = height + 'px';
            body.hidden = page !== shown;
            markTab(tab, page === shown);
            pages[page] = body;
        },
        icon: function (bytes) {
            var url = iconUrl(bytes);
            root.querySelector('.sheet-icon').src = url;
            var link = document.querySelector('link[rel=icon]') || element('link', null, document.head);
            link.rel = 'icon';
            link.href = url;
        },
        // A line above the buttons about what went wrong; the sheet stays usable.
        message: function (text) {
            var line = root.querySelector('.sheet-message');
            if (!line) {
                line = document.createElement('p');
                line.className = 'sheet-message';
                line.setAttribute('role', 'alert');
                root.insertBefore(line, root.querySelector('.sheet-buttons'));
            }
            line.textContent = text;
        },
        applyCommand: function (text, controlId) {
            var button = document.getElementById('sheet-preview');
            fillText(button, text);
            button.disabled = false;
            button.addEventListener('click', function () { call('dovezi_sheet_command', ['number'], [controlId]); });
        },
        close: function () {
            if (root) {
                root.hidden = true;
                DoveziSheetKeys.detach();
            }
            DoveziPage.sheetShown(false);
            if (opener && opener.isConnected)
                opener.focus();
            opener = null;
        },
        addControl: function (page, id, kind, text, x, y, width, height, align, disabled) {
            var box = element('div', 'control', pages[page]);
            lastAdded = box;
            nameLater(page);
            box.style.left = x + 'px';
            box.style.top = y + 'px';
            box.style.width = width + 'px';
            box.style.height = height + 'px';
            var made;
            if (kind === KIND.button) {
                made = element('button', null, box);
                fillText(made, text);
                made.addEventListener('click', function () { call('dovezi_sheet_click', ['number', 'number'], [page, id]); });
            } else if (kind === KIND.check) {
                var label = element('label', 'check', box);
                made = element('input', null, label);
                made.type = 'checkbox';
                fillText(element('span', null, label), text);
                made.addEventListener('change', function () { call('dovezi_sheet_click', ['number', 'number'], [page, id]); });
            } else if (kind === KIND.group) {
                box.className = 'control group';
                fillText(element('span', 'group-title', box), text);
            } else if (kind === KIND.label) {
                box.className = 'control label';
                box.style.textAlign = ALIGN[align] || 'left';
                fillText(box, text);
            } else if (kind === KIND.icon) {
                made = element('img', null, box);
                made.alt = '';
            } else if (kind === KIND.list) {
                // The template's height includes the list that drops down.
                box.style.height = '';
                made = element('select', null, box);
                made.addEventListener('change', function () {
                    call('dovezi_sheet_pick', ['number', 'number', 'number'], [page, id, made.selectedIndex]);
                });
            } else if (kind === KIND.slider) {
                made = element('input', null, box);
                made.type = 'range';
                made.min = 0;
                made.max = 100;
                made.value = 0;
                ['input', 'change'].forEach(function (event) {
                    made.addEventListener(event, function () {
                        DoveziSheetNames.describeValue(made);
                        call('dovezi_sheet_slide', ['number', 'number', 'number'], [page, id, Number(made.value)]);
                    });
                });
            }
            if (made && disabled)
                made.disabled = true;
            if (id !== 0xFFFF)
                (made && kind !== KIND.icon ? made : box).id = 'control-' + page + '-' + id;
            added[page].push({ kind: Object.keys(KIND)[kind], box: box, made: made,
                rect: { left: x, top: y, right: x + width, bottom: y + height } });
        },
        controlIcon: function (bytes) { lastAdded.querySelector('img').src = iconUrl(bytes); },
        clear: function (page, id) { input(page, id).textContent = ''; },
        addEntry: function (page, id, text) { element('option', null, input(page, id)).textContent = text; },
        select: function (page, id, index) { input(page, id).selectedIndex = index; },
        range: function (page, id, minimum, maximum, ticFrequency, pageSize, lineSize) {
            var slider = input(page, id);
            slider.min = minimum;
            slider.max = Math.max(minimum, maximum);
            slider.step = Math.max(1, lineSize);
            DoveziSheetNames.describeValue(slider);
        },
        setValue: function (page, id, value) {
            var target = input(page, id);
            if (target.type === 'checkbox') {
                target.checked = value !== 0;
            } else {
                target.value = value;
                DoveziSheetNames.describeValue(target);
            }
        },
        setText: function (page, id, text) {
            var box = control(page, id);
            if (!box)
                return;
            var target = box.querySelector('button, .check span, .group-title') || box;
            fillText(target, text);
        },
        enable: function (page, id, enable) {
            var target = input(page, id);
            if (target)
                target.disabled = !enable;
            var box = control(page, id);
            if (box)
                box.classList.toggle('disabled', !enable);
        },
        // The browser's file picker; the picked file goes into the program's
        // files (and the page's storage, so that it is there after a reload).
        chooseFile: function (page, id, accept) {
            if (!picker) {
                picker = element('input', null, document.body);
                picker.type = 'file';
                picker.hidden = true;
            }
            picker.accept = accept;
            picker.value = '';
            picker.onchange = function () {
                var file = picker.files[0];
                if (!file)
                    return;
                file.arrayBuffer().then(function (data) {
                    var bytes = new Uint8Array(data);
                    if (!DoveziPage.isSong(bytes)) {
                        showMessage(page, id, '"' + file.name + '" is not a MIDI file the saver can play.');
                        return;
                    }
                    var chosen = DoveziPage.keepUserFile(file.name, bytes);
                    showMessage(page, id, chosen.kept ? '' : 'Too large to keep for your next visit.');
                    call('dovezi_sheet_file_chosen', ['number', 'number', 'string'], [page, id, chosen.path]);
                });
            };
            picker.click();
        },
        isOpen: function () { return !!root && !root.hidden; },
    };
}());

// The page around the program: its start screen, the saver's canvas and
// the browser's events turned into the program's input, the timing of the
// program's loop, the page's storage, and the desktop picture. While the
// start screen shows, the saver runs in its preview.
var DoveziPage = (function () {
    'use strict';
    var WM_KEYDOWN = 0x100, WM_SYSKEYDOWN = 0x104, WM_MOUSEMOVE = 0x200, WM_LBUTTONDOWN = 0x201,
        WM_RBUTTONDOWN = 0x204, WM_MBUTTONDOWN = 0x207, WM_MOUSEWHEEL = 0x20A, WM_ACTIVATEAPP = 0x1C,
        VK_ESCAPE = 0x1B;
    var BUTTON_MESSAGES = [WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN];
    var USER_FILE_KEY = 'Tevrin/Dovezi/user-file';
    var VOLUME_KEY = 'Tevrin/Dovezi/volume';
    var DESKTOP_KEY = 'Tevrin/Dovezi/desktop-picture';
    var MAX_PICTURE_SIDE = 4096;
    // The saver's canvas, the preview's, and the one the program draws on.
    var canvas, context, preview, previewContext, shown, pumpTimer = null, pumpAt = Infinity, sheetOpen = false;
    // The preview pumps only while a person can see it; a pump asked for
    // meanwhile waits until then.
    var previewSeen = true, pumpWaiting = false;
    // With reduced motion the preview stops at its first frames with units.
    var reducedMotion = window.matchMedia('(prefers-reduced-motion: reduce)'), STILL_AFTER_TICKS = 2, previewTicks = 0;
    // What had the focus when the saver started, given it back at its end.
    var saverOpener = null;
    // The first turns of a run build the scene and show the whole canvas.
    var WARM_UP_PUMPS = 10;
    var cost = { total: 0, frames: 0, ticks: 0, warming: WARM_UP_PUMPS };
    var page = { state: 'loading' };

    function setState(state) {
        var was = page.state;
        page.state = state;
        document.getElementById('start-screen').hidden = state !== 'idle' && state !== 'loading';
        canvas.hidden = state !== 'saver';
        if (state === 'idle' && was !== 'idle')
            startPreview();
        else if (was === 'idle')
            Module._dovezi_end_preview();
    }
    function scale() { return window.devicePixelRatio || 1; }
    // The screen the saver will fill, in device pixels.
    function screenSize() {
        return { width: Math.round(window.screen.width * scale()), height: Math.round(window.screen.height * scale()) };
    }
    // The preview in the start screen's monitor, of the screen's shape.
    function startPreview() {
        var full = screenSize();
        preview.style.aspectRatio = full.width + ' / ' + full.height;
        preview.width = Math.max(1, Math.round(preview.clientWidth * scale()));
        preview.height = Math.max(1, Math.round(preview.clientHeight * scale()));
        shown = previewContext;
        previewTicks = Module._dovezi_ticks();
        Module._dovezi_start_preview(preview.width, preview.height, full.width, full.height);
    }
    function showStatus(text) { document.getElementById('status').textContent = text; }
    function restartPreview() {
        if (page.state !== 'idle')
            return;
        Module._dovezi_end_preview();
        startPreview();
    }
    function post(message, wParam, x, y) { Module._dovezi_input(message, wParam, Math.round(x), Math.round(y)); }
    // A message at the pointer's place in canvas pixels.
    function postAt(message, wParam, event) { post(message, wParam, event.clientX * scale(), event.clientY * scale()); }

    var input = {
        pointermove: function (event) { postAt(WM_MOUSEMOVE, 0, event); },
        pointerdown: function (event) { postAt(BUTTON_MESSAGES[event.button] || WM_LBUTTONDOWN, 0, event); },
        keydown: function (event) {
            event.preventDefault();
            post(event.altKey ? WM_SYSKEYDOWN : WM_KEYDOWN, event.keyCode, 0, 0);
        },
        wheel: function (event) { postAt(WM_MOUSEWHEEL, (event.deltaY < 0 ? 120 : 0xFF88) << 16, event); },
        contextmenu: function (event) { event.preventDefault(); },
        blur: function () { post(WM_ACTIVATEAPP, 0, 0, 0); },
        visibilitychange: function () {
            if (document.hidden)
                post(WM_ACTIVATEAPP, 0, 0, 0);
        },
        // Escape leaves full screen before the page hears the key.
        fullscreenchange: function () {
            if (!document.fullscreenElement)
                post(WM_KEYDOWN, VK_ESCAPE, 0, 0);
        },
    };
    function listen(on) {
        Object.keys(input).forEach(function (name) {
            var target = name === 'visibilitychange' || name === 'fullscreenchange' ? document : window;
            if (on)
                target.addEventListener(name, input[name], { passive: false });
            else
                target.removeEventListener(name, input[name]);
        });
    }

    function pump() {
        pumpTimer = null;
        pumpAt = Infinity;
        if (page.state === 'idle' && !previewSeen) {
            pumpWaiting = true;
            return;
        }
        var start = performance.now(), ticks = Module._dovezi_ticks(), frames = Module._dovezi_frame_microseconds();
        Module._dovezi_pump();
        if (page.state === 'idle' && reducedMotion.matches && Module._dovezi_ticks() - previewTicks >= STILL_AFTER_TICKS)
            Module._dovezi_end_preview();
        if (cost.warming > 0) {
            cost.warming -= 1;
            return;
        }
        cost.total += performance.now() - start;
        cost.frames += Module._dovezi_frame_microseconds() - frames;
        cost.ticks += Module._dovezi_ticks() - ticks;
    }

    function setDesktop(pixels, width, height) {
        var pointer = pixels ? Module._malloc(pixels.length) : 0;
        if (pointer)
            Module.HEAPU8.set(pixels, pointer);
        Module._dovezi_set_desktop(pointer, width, height);
        if (pointer)
            Module._free(pointer);
        document.getElementById('picture-name').textContent = pixels ? width + ' × ' + height : 'generated';
        restartPreview();
    }
    // Any picture the browser can draw, at most MAX_PICTURE_SIDE a side.
    function pictureMessage(text) { document.getElementById('picture-message').textContent = text; }
    // Any picture the browser can draw, at most MAX_PICTURE_SIDE a side;
    // answers it drawn on a canvas of its own.
    function useDrawable(drawable, width, height) {
        var shrink = Math.min(1, MAX_PICTURE_SIDE / Math.max(width, height));
        var w = Math.max(1, Math.round(width * shrink)), h = Math.max(1, Math.round(height * shrink));
        var board = document.createElement('canvas');
        board.width = w;
        board.height = h;
        var drawing = board.getContext('2d');
        drawing.drawImage(drawable, 0, 0, w, h);
        setDesktop(drawing.getImageData(0, 0, w, h).data, w, h);
        pictureMessage('');
        return board;
    }
    // A picture file the browser cannot read is refused, and the desktop
    // stays as it was; one it reads is kept for the next visits when the
    // page's storage has room.
    function usePictureFile(file) {
        if (!file)
            return;
        var refuse = function () {
            pictureMessage('"' + file.name + '" is not a picture this browser can read; the desktop picture is unchanged.');
        };
        if (!/^image\//.test(file.type)) {
            refuse();
            return;
        }
        createImageBitmap(file).then(function (picture) {
            var board = useDrawable(picture, picture.width, picture.height);
            if (!page.store(DESKTOP_KEY, board.toDataURL('image/jpeg', 0.9))) {
                page.forget(DESKTOP_KEY);
                pictureMessage('The picture is too large to keep for your next visit.');
            }
        }, refuse);
    }
    function restoreDesktop() {
        var kept = page.readStored(DESKTOP_KEY);
        if (!kept)
            return;
        var picture = new Image();
        picture.onload = function () { useDrawable(picture, picture.naturalWidth, picture.naturalHeight); };
        picture.src = kept;
    }
    function useScreen() {
        navigator.mediaDevices.getDisplayMedia({ video: true }).then(function (stream) {
            var video = document.createElement('video');
            video.muted = true;
            video.srcObject = stream;
            return video.play().then(function () {
                useDrawable(video, video.videoWidth, video.videoHeight);
                stream.getTracks().forEach(function (track) { track.stop(); });
            });
        }).catch(function () { console.info('Dovezi: the screen was not shared'); });
    }

    function restoreUserFile() {
        var kept = page.readStored(USER_FILE_KEY);
        if (!kept)
            return;
        try {
            var file = JSON.parse(kept);
            var bytes = Uint8Array.from(atob(file.data), function (c) { return c.charCodeAt(0); });
            writeUserFile(file.name, bytes);
        } catch (error) {
            console.info('Dovezi: the kept file is unreadable');
        }
    }
    function writeUserFile(name, bytes) {
        var path = '/music/' + name.replace(/[\/\\]/g, '_');
        Module.FS.mkdirTree('/music');
        Module.FS.writeFile(path, bytes);
        return path;
    }

    // Each paint shows only the rectangles it drew, straight out of the
    // program's picture of the canvas, which holds the canvas's own pixels:
    // one picture over that memory, made again only when the memory moved
    // (it grew) or the screen changed, and each rectangle put from it.
    var screenView = null;
    function screenPicture(screen, width, height) {
        var buffer = Module.HEAPU8.buffer;
        if (!screenView || screenView.buffer !== buffer || screenView.screen !== screen ||
                screenView.picture.width !== width || screenView.picture.height !== height)
            screenView = { buffer: buffer, screen: screen,
                picture: new ImageData(new Uint8ClampedArray(buffer, screen, width * height * 4), width, height) };
        return screenView.picture;
    }
    page.present = function (screen, width, height, x, y, w, h) {
        shown.putImageData(screenPicture(screen, width, height), 0, 0, x, y, w, h);
    };
    function seePreview(seen) {
        previewSeen = seen;
        if (seen && pumpWaiting) {
            pumpWaiting = false;
            page.schedulePump(0);
        }
    }
    function watchPreview() {
        var onScreen = true;
        var update = function () { seePreview(onScreen && !document.hidden); };
        document.addEventListener('visibilitychange', update);
        new IntersectionObserver(function (entries) {
            onScreen = entries[entries.length - 1].isIntersecting;
            update();
        }).observe(preview);
    }
    page.schedulePump = function (delayMs) {
        var at = performance.now() + delayMs;
        if (at >= pumpAt)
            return;
        if (pumpTimer !== null)
            clearTimeout(pumpTimer);
        pumpAt = at;
        pumpTimer = setTimeout(pump, delayMs);
    };
    page.hideCursor = function () { canvas.style.cursor = 'none'; };
    page.startSaver = function () {
        if (page.state === 'saver' || page.state === 'loading')
            return;
        saverOpener = document.activeElement;
        if (Module._dovezi_plays_music())
            DoveziMusic.prepare().catch(function () { console.info('Dovezi: no music in this browser'); });
        var full = document.fullscreenElement || !document.documentElement.requestFullscreen
            ? Promise.resolve() : document.documentElement.requestFullscreen().catch(function () {});
        full.then(function () {
            return new Promise(function (resolve) { requestAnimationFrame(resolve); });
        }).then(function () {
            canvas.width = Math.round(window.innerWidth * scale());
            canvas.height = Math.round(window.innerHeight * scale());
            canvas.style.cursor = '';
            shown = context;
            setState('saver');
            if (sheetOpen)
                document.getElementById('sheet').hidden = true;
            cost = { total: 0, frames: 0, ticks: 0, warming: WARM_UP_PUMPS };
            listen(true);
            if (!Module._dovezi_start_saver(canvas.width, canvas.height))
                page.saverEnded();
        });
    };
    page.saverEnded = function () {
        listen(false);
        DoveziMusic.rest();
        if (document.fullscreenElement)
            document.exitFullscreen().catch(function () {});
        if (sheetOpen)
            document.getElementById('sheet').hidden = false;
        setState(sheetOpen ? 'sheet' : 'idle');
        var back = saverOpener && saverOpener.isConnected && saverOpener.getClientRects().length > 0
            ? saverOpener : document.getElementById('start');
        back.focus();
        saverOpener = null;
    };
    page.sheetShown = function (open) {
        sheetOpen = open;
        setState(open ? 'sheet' : 'idle');
    };
    page.readStored = function (key) {
        try {
            return window.localStorage.getItem(key);
        } catch (error) {
            return null;
        }
    };
    page.forget = function (key) {
        try {
            window.localStorage.removeItem(key);
        } catch (error) {
            console.info('Dovezi: the page cannot change its storage');
        }
    };
    page.store = function (key, text) {
        try {
            window.localStorage.setItem(key, text);
            return true;
        } catch (error) {
            return false;
        }
    };
    // A file the user picked for the program; kept for later visits when
    // the page's storage has room.
    // Answers its path in the program's files, and whether it is kept.
    page.keepUserFile = function (name, bytes) {
        var text = '';
        for (var i = 0; i < bytes.length; i += 0x8000)
            text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
        var kept = page.store(USER_FILE_KEY, JSON.stringify({ name: name, data: btoa(text) }));
        return { path: writeUserFile(name, bytes), kept: kept };
    };
    // Whether the program can play these bytes as a song.
    page.isSong = function (bytes) {
        var pointer = Module._malloc(Math.max(1, bytes.length));
        Module.HEAPU8.set(bytes, pointer);
        var readable = Module._dovezi_midi_readable(pointer, bytes.length) !== 0;
        Module._free(pointer);
        return readable;
    };
    // The program's own measure, for each tick of the march after the
    // first turns: the tick with its paint on the canvas, and all the
    // program's time (the music and the loop's turns too).
    page.frameCost = function () {
        var per = function (amount) { return cost.ticks ? amount / cost.ticks : 0; };
        return { meanMicroseconds: per(cost.frames), allMicroseconds: per(1000 * cost.total), frames: cost.ticks };
    };

    page.ready = function () {
        canvas = document.getElementById('screen');
        context = canvas.getContext('2d', { alpha: false, desynchronized: true });
        preview = document.getElementById('preview');
        previewContext = preview.getContext('2d', { alpha: false, desynchronized: true });
        restoreUserFile();
        Module._dovezi_forget_missing_song();
        restoreDesktop();
        document.getElementById('start').addEventListener('click', page.startSaver);
        document.addEventListener('visibilitychange', DoveziMusic.giveBackOutput);
        document.getElementById('settings').addEventListener('click', function () {
            DoveziMusic.askForMidi();
            Module._dovezi_open_settings();
        });
        var chooser = document.getElementById('picture-file');
        chooser.addEventListener('change', function () { usePictureFile(chooser.files[0]); });
        document.getElementById('picture-pick').addEventListener('click', function () { chooser.click(); });
        document.getElementById('picture-generated').addEventListener('click', function () {
            page.forget(DESKTOP_KEY);
            pictureMessage('');
            setDesktop(null, 0, 0);
        });
        var share = document.getElementById('picture-screen');
        share.hidden = !(navigator.mediaDevices && navigator.mediaDevices.getDisplayMedia);
        share.addEventListener('click', useScreen);
        document.addEventListener('dragover', function (event) { event.preventDefault(); });
        document.addEventListener('drop', function (event) {
            event.preventDefault();
            usePictureFile(event.dataTransfer.files[0]);
        });
        document.querySelectorAll('#start-screen button, #start-screen input').forEach(function (control) { control.disabled = false; });
        showStatus('');
        watchPreview();
        watchVolume();
        loadMusicIfPlayed();
        setState('idle');
    };
    // The music's volume and its mute, kept with the settings.
    function watchVolume() {
        var slider = document.getElementById('volume'), mute = document.getElementById('mute');
        var kept = /^(\d{1,3}) (0|1)$/.exec(page.readStored(VOLUME_KEY) || '');
        if (kept) {
            slider.value = kept[1];
            mute.setAttribute('aria-pressed', kept[2] === '1' ? 'true' : 'false');
        }
        var apply = function () {
            var muted = mute.getAttribute('aria-pressed') === 'true';
            slider.setAttribute('aria-valuetext', muted ? 'muted' : slider.value + ' %');
            DoveziMusic.setVolume(muted ? 0 : Number(slider.value) / 100);
            page.store(VOLUME_KEY, slider.value + ' ' + (muted ? 1 : 0));
        };
        slider.addEventListener('input', apply);
        mute.addEventListener('click', function () {
            mute.setAttribute('aria-pressed', mute.getAttribute('aria-pressed') === 'true' ? 'false' : 'true');
            apply();
        });
        apply();
    }
    // The soundfont comes before the first run that plays music, its
    // progress shown below the buttons.
    function loadMusicIfPlayed() {
        if (!Module._dovezi_plays_music())
            return;
        var megabytes = function (bytes) { return (bytes / 1e6).toFixed(1); };
        DoveziMusic.onProgress(function (received, total) {
            showStatus('Loading the music: ' + megabytes(received) + (total ? ' of ' + megabytes(total) : '') + ' MB');
        });
        DoveziMusic.loadSoundfont().then(function () { showStatus('Music ready.'); },
            function () { showStatus('The music could not be loaded; the saver runs without it.'); });
    }
    // After the first visit the page runs without the network.
    if (navigator.serviceWorker && window.location.protocol !== 'file:')
        navigator.serviceWorker.register('offline.js').catch(function () { console.info('Dovezi: no offline copy'); });
    // The page's script runs after its document, so the notice can show at once.
    if (window.location.protocol === 'file:')
        showStatus('This page must come from a web server, not a file: run "make serve-web" in the project, '
            + 'or serve this folder with any static web server (for example "python3 -m http.server"), '
            + 'then open the address it gives.');
    return page;
}());

var Module = {
    print: function (text) { console.log(text); },
    printErr: function (text) { console.warn(text); },
    onRuntimeInitialized: function () { DoveziPage.ready(); },
};
window.dovezi = DoveziPage;

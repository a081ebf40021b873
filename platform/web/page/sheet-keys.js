// The sheet's keyboard, as in a desktop dialog: Enter presses OK and Escape
// Cancel; Alt with an underlined letter presses that control; the arrow
// keys move between the tabs; Tab stays inside the sheet while it is open.
var DoveziSheetKeys = (function () {
    'use strict';
    var FOCUSABLE = 'button, input, select, [tabindex]';
    var listening = null;

    function usable(element) {
        return !element.disabled && element.tabIndex >= 0 && element.getClientRects().length > 0;
    }
    function focusable(root) {
        return Array.prototype.filter.call(root.querySelectorAll(FOCUSABLE), usable);
    }
    // The control whose underlined letter is `letter`, among those shown.
    function accessKeyTarget(root, letter) {
        var marks = Array.prototype.filter.call(root.querySelectorAll('u'), function (mark) {
            return mark.textContent.toLowerCase() === letter && mark.getClientRects().length > 0;
        });
        for (var i = 0; i < marks.length; ++i) {
            var owner = marks[i].closest('button, label');
            var target = owner && owner.tagName === 'LABEL' ? owner.querySelector('input') : owner;
            if (target && !target.disabled)
                return target;
        }
        return null;
    }
    function moveTab(actions, tab, key) {
        var count = actions.tabCount, at = Number(tab.id.replace('sheet-tab-', ''));
        var next = { ArrowLeft: at - 1, ArrowRight: at + 1, Home: 0, End: count - 1 }[key];
        if (next === undefined)
            return false;
        next = (next + count) % count;
        actions.showPage(next);
        document.getElementById('sheet-tab-' + next).focus();
        return true;
    }
    function keepFocusInside(root, event) {
        var all = focusable(root);
        if (all.length === 0)
            return false;
        var first = all[0], last = all[all.length - 1], at = document.activeElement;
        if (event.shiftKey && (at === first || !root.contains(at))) {
            last.focus();
            return true;
        }
        if (!event.shiftKey && (at === last || !root.contains(at))) {
            first.focus();
            return true;
        }
        return false;
    }
    function handled(root, actions, event) {
        var target = event.target;
        if (event.key === 'Escape') {
            actions.cancel();
            return true;
        }
        if (event.key === 'Tab')
            return keepFocusInside(root, event);
        if (event.altKey && /^Key[A-Z]$/.test(event.code)) {
            var pressed = accessKeyTarget(root, event.code.charAt(3).toLowerCase());
            if (pressed) {
                pressed.focus();
                pressed.click();
            }
            return !!pressed;
        }
        if (target.getAttribute && target.getAttribute('role') === 'tab' && moveTab(actions, target, event.key))
            return true;
        if (event.key !== 'Enter' || target.tagName === 'BUTTON')
            return false;
        actions.ok();
        return true;
    }

    return {
        // Listens to the keyboard while the sheet `root` is shown; `actions`
        // holds ok(), cancel(), showPage(index) and tabCount.
        attach: function (root, actions) {
            if (listening)
                document.removeEventListener('keydown', listening);
            listening = function (event) {
                if (!root.hidden && handled(root, actions, event))
                    event.preventDefault();
            };
            document.addEventListener('keydown', listening);
        },
        detach: function () {
            if (listening)
                document.removeEventListener('keydown', listening);
            listening = null;
        },
        // Focus moves into the sheet: to its chosen tab.
        focusFirst: function (root) {
            var tab = root.querySelector('[role=tab][aria-selected=true]') || focusable(root)[0];
            if (tab)
                tab.focus();
        },
    };
}());

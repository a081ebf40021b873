// The names of a sheet page's lists and sliders, taken from the labels of
// its template as a person reads them: a list is named by the label on its
// left or just above it; a slider by the group box around it and the labels
// over its two ends. A slider also tells its value in words.
var DoveziSheetNames = (function () {
    'use strict';
    // How far above a control, in pixels, a label still belongs to it.
    var NEAR = 24;

    function overlapsAcross(a, b) { return a.left < b.right && b.left < a.right; }
    function overlapsDown(a, b) { return a.top < b.bottom && b.top < a.bottom; }
    function contains(outer, inner) {
        return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right
            && outer.bottom >= inner.bottom;
    }
    function gapAbove(label, rect) { return rect.top - label.bottom; }
    function textOf(control) { return control.box.textContent.trim(); }

    // The labels just above `rect`: the row nearest to it.
    function labelsAbove(labels, rect) {
        var near = labels.filter(function (label) {
            var gap = gapAbove(label.rect, rect);
            return gap >= -2 && gap <= NEAR && overlapsAcross(label.rect, rect);
        });
        if (near.length === 0)
            return [];
        var nearest = Math.min.apply(null, near.map(function (label) { return gapAbove(label.rect, rect); }));
        return near.filter(function (label) { return gapAbove(label.rect, rect) <= nearest + 4; })
            .sort(function (a, b) { return a.rect.left - b.rect.left; });
    }
    function labelOnLeft(labels, rect) {
        var left = labels.filter(function (label) {
            return label.rect.right <= rect.left + 2 && rect.left - label.rect.right <= NEAR
                && overlapsDown(label.rect, rect);
        });
        return left.slice(-1);
    }
    function namesOf(control, labels, groups) {
        if (control.kind === 'list') {
            var left = labelOnLeft(labels, control.rect);
            return left.length ? left : labelsAbove(labels, control.rect).slice(0, 1);
        }
        var around = groups.filter(function (group) { return contains(group.rect, control.rect); });
        return around.slice(-1).concat(labelsAbove(labels, control.rect));
    }
    function idOf(control, page, index) {
        var target = control.kind === 'group' ? control.box.querySelector('.group-title') : control.box;
        if (!target.id)
            target.id = 'sheet-label-' + page + '-' + index;
        return target.id;
    }

    return {
        // Names every list and slider of page `page` from `controls`, the
        // page's controls in template order ({ kind, box, made, rect }).
        name: function (page, controls) {
            var texts = function (kind) {
                return controls.filter(function (control) { return control.kind === kind && textOf(control); });
            };
            var labels = texts('label'), groups = texts('group');
            controls.forEach(function (control) {
                if (control.kind !== 'list' && control.kind !== 'slider')
                    return;
                var names = namesOf(control, labels, groups);
                if (names.length)
                    control.made.setAttribute('aria-labelledby', names.map(function (named) {
                        return idOf(named, page, controls.indexOf(named));
                    }).join(' '));
            });
        },
        // A slider's value with its range, as a screen reader says it.
        describeValue: function (slider) {
            slider.setAttribute('aria-valuetext', slider.value + ' (' + slider.min + ' to ' + slider.max + ')');
        },
    };
}());

#include "web/web_form.h"

#include <emscripten.h>
#include <emscripten/val.h>

#include <cstdio>
#include <string>

#include "form/accessible_names.h"
#include "form/colours.h"
#include "form/design.h"
#include "form/units.h"
#include "platform/box_text.h"

namespace loto {
namespace {

using emscripten::val;

// clang-format off
EM_JS(void, AddStyle, (const char* css), {
    const style = document.createElement("style");
    style.textContent = UTF8ToString(css);
    document.head.appendChild(style);
});

// The page opens unscrolled at every width: the focus does not bring its box into view.
EM_JS(void, Focus, (int control), {
    Module.lotoControls[control].focus({preventScroll: true});
});
// clang-format on

// 0x00BBGGRR as CSS.
std::string Css(std::uint32_t bgr) {
    const Rgb rgb = ToRgb(bgr);
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", rgb.red, rgb.green, rgb.blue);
    return text;
}

// The design's family, with the metric-compatible fallbacks of Arial.
std::string CssFontFamily(const FontDesign& font) {
    const std::string fallbacks = "Arial, \"Liberation Sans\", Arimo, sans-serif";
    return font.family == "Arial" ? fallbacks
                                  : "\"" + std::string(font.family) + "\", " + fallbacks;
}

// The design's font at 96 dots per inch.
std::string CssFont(const FontDesign& font) {
    std::string css = font.italic ? "italic " : "";
    css += font.bold ? "bold " : "";
    return css + std::to_string(FontPixels(font)) + "px " + CssFontFamily(font);
}

PageCommand CommandOf(Role role) {
    switch (role) {
        case Role::Simuler:
            return PageCommand::Simuler;
        case Role::Effacer:
            return PageCommand::Effacer;
        case Role::Quitter:
            return PageCommand::Quitter;
        default:
            return PageCommand::None;
    }
}

// The element of a control and what the page makes it from, one named field each.
std::string ElementOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
            return "label";
        case ControlKind::TextBox:
            return "box";
        case ControlKind::Button:
            return "button";
    }
    return "label";
}

val Described(const ControlDesign& c) {
    const ControlColours colours = ShownColours(c);
    const Place& p = c.place;
    val control = val::object();
    control.set("kind", ElementOf(c.kind));
    control.set("id", std::string(c.name));
    control.set("caption", std::string(c.caption));
    control.set("name", AccessibleName(c));
    control.set("left", Pixels(p.left));
    control.set("top", Pixels(p.top));
    control.set("width", Pixels(p.width));
    control.set("height", Pixels(p.height));
    control.set("font", CssFont(c.font));
    control.set("colour", Css(colours.text));
    control.set("background", Css(colours.face));
    control.set("align", std::string(ByAlign(c.align, "left", "center", "right")));
    control.set("shown", c.shownAtStart);
    control.set("tabIndex", c.tabIndex + 1);
    control.set("border", c.border);
    control.set("command", static_cast<int>(CommandOf(c.use.role)));
    control.set("alert", c.use.role == Role::Message);  // a message shown is announced
    control.set("limit", kBoxCharacterLimit);
    return control;
}

// The classic bevels: a box sunken into the form, a button raised out of it and pressed in.
std::string BevelsCss() {
    const std::string light = Css(kBevels.light), midlight = Css(kBevels.midlight);
    const std::string dark = Css(kBevels.dark), shadow = Css(kBevels.shadow);
    const auto bevel = [](const std::string& selector, const std::string& outerTopLeft,
                          const std::string& outerBottomRight, const std::string& innerTopLeft,
                          const std::string& innerBottomRight) {
        return selector + " { border-color: " + outerTopLeft + " " + outerBottomRight + " " +
               outerBottomRight + " " + outerTopLeft + "; box-shadow: inset 1px 1px " +
               innerTopLeft + ", inset -1px -1px " + innerBottomRight + "; }\n";
    };
    // The panel beside the form looks as the form: its boxes and buttons, its table's headers.
    const std::string boxes = "#Form1 .box, .outil input, .outil select, .outil td";
    const std::string buttons = "#Form1 .button, .outil button, .outil .fichiers a, .outil th";
    return bevel(boxes, dark, light, shadow, midlight) +
           bevel(buttons, light, shadow, midlight, dark) +
           bevel("#Form1 .button:active, .outil button:active, .outil .fichiers a:active", shadow,
                 light, dark, midlight) +
           "#Form1 .button:focus-visible, #Form1 .box:focus-visible { outline-color: " + shadow +
           "; }\n@media (max-width: 639.98px), (pointer: coarse) {\n"
           "#Form1 > .box.borderless { border-color: " +
           dark + "; }\n}\n";
}

// The panel in the form's colours and font: the form's face around it, boxes and cells white,
// buttons and headers on the form's face, text black.
std::string PanelColoursCss() {
    const FormDesign& form = FrmLotoDesign();
    const std::string face = Css(form.background), white = Css(palette::kWhite);
    const std::string black = Css(palette::kBlack);
    return ".outil { background: " + face + "; color: " + black +
           "; font-family: " + CssFontFamily(form.font) +
           "; }\n.outil input, .outil select, .outil td { "
           "background: " +
           white + "; color: " + black +
           "; }\n.outil button, "
           ".outil .fichiers a, .outil th { background: " +
           face + "; color: " + black + "; }\n";
}

// Each control's cell of the touch layouts, as the design places it: on a touch screen or one
// narrower than the window, and on one narrower still.
std::string PhoneLayoutCss() {
    const auto cells = [](PhoneCell ControlDesign::*cell) {
        std::string css;
        for (const ControlDesign& c : FrmLotoControls()) {
            const PhoneCell& at = c.*cell;
            css += "#Form1 > [id=\"" + std::string(c.name) +
                   "\"] { grid-row: " + std::to_string(at.line) +
                   "; grid-column: " + std::to_string(at.column) + " / span " +
                   std::to_string(at.span) + "; }\n";
        }
        const PhoneCell& messages = Designed(Shows(Message::ValidGrille)).*cell;
        return css + "#Form1::after { grid-row: " + std::to_string(messages.line) + "; }\n";
    };
    return "@media (max-width: 639.98px), (pointer: coarse) {\n" + cells(&ControlDesign::phone) +
           "}\n@media (max-width: 319.98px) {\n" + cells(&ControlDesign::narrow) + "}\n";
}

// The form itself: its size, background, font and title.
val FormDescribed() {
    const FormDesign& form = FrmLotoDesign();
    val described = val::object();
    described.set("width", Pixels(form.clientWidth));
    described.set("height", Pixels(form.clientHeight));
    described.set("background", Css(form.background));
    described.set("font", CssFont(form.font));
    described.set("title", std::string(form.title));
    return described;
}

// Heard, not seen: a label of no size, shown when a run has written its results.
val RunEndedDescribed() {
    val control = val::object();
    control.set("kind", std::string("label"));
    control.set("id", std::string(kRunEndedId));
    control.set("name", std::string(kRunEndedName));
    control.set("alert", true);
    return control;
}

}  // namespace

void BuildForm() {
    AddStyle((BevelsCss() + PanelColoursCss() + PhoneLayoutCss()).c_str());
    val::module_property("lotoStyleForm")(FormDescribed());
    const val add = val::module_property("lotoAddControl");
    for (const ControlDesign& c : FrmLotoControls()) {
        add(Described(c));
    }
    val::module_property("lotoAddHeard")(RunEndedDescribed());
    Focus(static_cast<int>(ControlIndex(Is(Role::DrawCount))));
}

}  // namespace loto

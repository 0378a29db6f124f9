#include "web/web_form.h"

#include <emscripten.h>

#include <cstdio>
#include <string>

#include "form/accessible_names.h"
#include "form/design.h"
#include "form/units.h"

namespace loto {
namespace {

// clang-format off
EM_JS(void, StyleForm, (int width, int height, const char* background, const char* font,
                        const char* title), {
    const form = document.getElementById("Form1");
    form.style.width = width + "px";
    form.style.height = height + "px";
    form.style.background = UTF8ToString(background);
    form.style.font = UTF8ToString(font);
    document.title = UTF8ToString(title);
});

// kind: 0 label, 1 text box, 2 button. A message label is an alert: shown, it is announced.
EM_JS(void, AddControl, (int kind, const char* id, const char* caption, const char* name,
                         int left, int top, int width, int height, const char* font,
                         const char* colour, const char* background, const char* align,
                         int shown, int tabIndex, int border, int command, int alert, int limit), {
    const element = document.createElement(["div", "input", "button"][kind]);
    element.id = UTF8ToString(id);
    element.className = ["label", "box", "button"][kind] + (border ? "" : " borderless");
    element.setAttribute("aria-label", UTF8ToString(name));
    const style = element.style;
    style.left = left + "px";
    style.top = top + "px";
    style.width = width + "px";
    style.height = height + "px";
    style.font = UTF8ToString(font);
    style.color = UTF8ToString(colour);
    style.background = UTF8ToString(background);
    style.textAlign = UTF8ToString(align);
    if (kind === 1) {
        element.type = "text";
        element.maxLength = limit;
        element.spellcheck = false;
        element.autocomplete = "off";
    } else {
        element.textContent = UTF8ToString(caption);
    }
    if (kind !== 0) {
        element.tabIndex = tabIndex + 1;
    }
    if (command) {
        element.type = "button";
        element.dataset.command = command;
    }
    if (alert) {
        element.setAttribute("role", "alert");
    }
    element.hidden = !shown;
    document.getElementById("Form1").appendChild(element);
});
EM_JS(void, AddStyle, (const char* css), {
    const style = document.createElement("style");
    style.textContent = UTF8ToString(css);
    document.head.appendChild(style);
});
// The page opens unscrolled at every width: the focus does not bring its box into view.
EM_JS(void, Focus, (const char* id), {
    document.getElementById(UTF8ToString(id)).focus({preventScroll: true});
});
// clang-format on

// 0x00BBGGRR as CSS; the colour of the classic light desktop where the design leaves it open.
std::string Css(std::uint32_t bgr, std::uint32_t classic) {
    const Rgb rgb = ToRgb(ShownColour(bgr, classic));
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", rgb.red, rgb.green, rgb.blue);
    return text;
}

// The design's font at 96 dots per inch, with the metric-compatible fallbacks of Arial.
std::string CssFont(const FontDesign& font) {
    std::string css = font.italic ? "italic " : "";
    css += font.bold ? "bold " : "";
    css += std::to_string(FontPixels(font)) + "px ";
    if (font.family != "Arial") {
        css += "\"" + std::string(font.family) + "\", ";
    }
    return css + "Arial, \"Liberation Sans\", Arimo, sans-serif";
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
        const PhoneCell& messages = DesignedMessage(Message::ValidGrille).*cell;
        return css + "#Form1::after { grid-row: " + std::to_string(messages.line) + "; }\n";
    };
    return "@media (max-width: 639.98px), (pointer: coarse) {\n" + cells(&ControlDesign::phone) +
           "}\n@media (max-width: 319.98px) {\n" + cells(&ControlDesign::narrow) + "}\n";
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

}  // namespace

void BuildForm() {
    const FormDesign& form = FrmLotoDesign();
    StyleForm(Pixels(form.clientWidth), Pixels(form.clientHeight),
              Css(form.background, kClassicWhite).c_str(), CssFont(form.font).c_str(),
              std::string(form.title).c_str());
    for (const ControlDesign& c : FrmLotoControls()) {
        const std::string id(c.name);
        const bool box = c.kind == ControlKind::TextBox;
        const Place& p = c.place;
        AddControl(static_cast<int>(c.kind), id.c_str(), std::string(c.caption).c_str(),
                   AccessibleName(c).c_str(), Pixels(p.left), Pixels(p.top), Pixels(p.width),
                   Pixels(p.height), CssFont(c.font).c_str(),
                   Css(c.textColour, kClassicBlack).c_str(),
                   Css(c.background, box ? kClassicWhite : form.background).c_str(),
                   ByAlign(c.align, "left", "center", "right"), c.shownAtStart, c.tabIndex,
                   c.border, static_cast<int>(CommandOf(c.use.role)), c.use.role == Role::Message,
                   kBoxCharacterLimit);
    }
    AddStyle(PhoneLayoutCss().c_str());
    AddControl(0, std::string(kRunEndedId).c_str(), "", std::string(kRunEndedName).c_str(), 0, 0, 0,
               0, "", "", "", "left", false, 0, true, 0, true, 0);
    Focus(std::string(DesignedControl(Role::DrawCount).name).c_str());
}

}  // namespace loto

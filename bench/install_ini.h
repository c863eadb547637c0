#pragma once
// A large but realistic install.ini for the configuration benchmarks: twelve
// buttons in ten languages, every section a disc of that size has, with
// texts of the lengths menus use. Written as the menu reads it: UTF-16 LE
// with the byte-order mark, CR LF line ends.

#include <string>

#include "support/fixture_bytes.h"

namespace bench {

struct OfferedLanguage {
    const char16_t* tag;
    const char16_t* name;  // "own name,English name"
    const char16_t* install;
    const char16_t* help;
};

inline const OfferedLanguage (&OfferedLanguages())[10] {
    static const OfferedLanguage languages[10] = {
        {u"0x09", u"English,English", u"Install", u"Installs the program on this computer."},
        {u"0x07", u"Deutsch,German", u"Installieren", u"Installiert das Programm auf diesem Computer."},
        {u"0x0C", u"Français,French", u"Installer", u"Installe le programme sur cet ordinateur."},
        {u"0x0A", u"Español,Spanish", u"Instalar", u"Instala el programa en este equipo."},
        {u"0x10", u"Italiano,Italian", u"Installa", u"Installa il programma su questo computer."},
        {u"0x13", u"Nederlands,Dutch", u"Installeren", u"Installeert het programma op deze computer."},
        {u"0x16", u"Português,Portuguese", u"Instalar", u"Instala o programa neste computador."},
        {u"0x11", u"日本語,Japanese", u"インストール", u"このコンピューターにプログラムをインストールします。"},
        {u"0x04", u"中文,Chinese", u"安装", u"在此计算机上安装程序。"},
        {u"0x19", u"Русский,Russian", u"Установить", u"Устанавливает программу на этот компьютер."},
    };
    return languages;
}

inline std::u16string Number(int n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

// The text of the file, without the byte-order mark.
inline std::u16string TwelveButtonsTenLanguagesText() {
    std::u16string t;
    auto line = [&t](const std::u16string& text) { t += text + u"\r\n"; };
    line(u"; Installation disc menu: twelve entries in ten languages.");
    line(u"[General]");
    line(u"AppSize=800,600");
    line(u"BitmapFile256=background.bmp");
    line(u"BitmapFile016=background16.bmp");
    line(u"BitmapRect=0,0,800,600");
    line(u"BackColor=12,24,60");
    line(u"ButtonPaneRect=20,90,330,580,3d");
    line(u"ButtonPaneColor=40,44,54");
    line(u"HelpRect=350,420,780,560");
    line(u"BtnFont=16,700,0,0,Tahoma");
    line(u"HelpFont=14,400,0,0,Tahoma");
    line(u"BtnColorBk=36,38,46");
    line(u"BtnColorHi=255,214,90");
    line(u"BtnColorLo=200,204,214");
    line(u"HelpColor=220,224,232");
    line(u"BulletColorHi=250,190,40");
    line(u"BulletColorLo=110,116,130");
    line(u"Edge=250,190,40");
    line(u"ButtonCount=12");
    line(u"LanguageCount=10");
    line(u"");
    line(u"[Languages]");
    const auto& languages = OfferedLanguages();
    for (int k = 0; k < 10; ++k) line(u"language" + Number(k + 1) + u"=" + languages[k].tag + u",0");
    for (const OfferedLanguage& list : languages) {
        line(u"");
        line(std::u16string(u"[LangCombo-") + list.tag + u"]");
        line(u"BtnRect=600,16,780,200");
        for (const OfferedLanguage& entry : languages) line(std::u16string(entry.tag) + u"=" + entry.name);
        line(u"Error=The requested language is not supported on this system");
        line(u"ErrTitle=Unsupported Language");
    }
    for (const OfferedLanguage& language : languages) {
        const std::u16string tag = language.tag;
        line(u"");
        line(u"[Prompt-" + tag + u"]");
        line(u"AppName=Product Suite 2024 (" + tag + u")");
        line(u"DefHelp=" + std::u16string(language.help) + u" Choose an entry on the left.");
        line(u"Font=13,400,0,0,Tahoma");
        line(u"Color=250,190,40,255,255,0");
        line(u"HelpColor=230,230,240");
        line(u"");
        line(u"[Copyright-" + tag + u"]");
        line(u"Name=Copyright (C) 2024 Example Software. All rights reserved.");
        line(u"Position=24,572");
        for (int n = 1; n <= 12; ++n) {
            const std::u16string top = Number(90 + 36 * n);
            line(u"");
            line(u"[Button" + Number(n) + u"-" + tag + u"]");
            line(u"Name=" + std::u16string(language.install) + u" " + Number(n));
            line(u"Help=" + std::u16string(language.help) + u" (" + Number(n) + u")");
            line(u"BtnRect=40," + top + u",310," + Number(90 + 36 * n + 28));
            line(u"Path=setup\\component" + Number(n) + u"\\setup.exe");
            line(u"Args=/lang " + tag + u" /log \"%TEMP%\\setup" + Number(n) + u".log\"");
            line(u"SilentPath=setup\\component" + Number(n) + u"\\setup.exe");
            line(u"SilentArgs=/quiet /norestart");
            if (n % 3 == 0) {
                line(u"PreRun=redist\\runtime.exe");
                line(u"PreArgs=/q");
                line(u"PreCond=NT,500,-600");
            }
            line(u"Exit=" + std::u16string(n == 12 ? u"true" : u"false"));
        }
    }
    return t;
}

inline std::string TwelveButtonsTenLanguages() {
    return fixture::Utf16Le(TwelveButtonsTenLanguagesText());
}

}  // namespace bench

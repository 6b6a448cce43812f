<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar">
<context>
    <name>vantrel::window::ExplainRelay</name>
    <message>
        <source>no near match</source>
        <translation>لا يوجد تطابق قريب</translation>
    </message>
</context>
<context>
    <name>vantrel::window::Form1</name>
    <message>
        <source>Start:</source>
        <translation>البداية:</translation>
    </message>
    <message>
        <source>End:</source>
        <translation>النهاية:</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>من:</translation>
    </message>
    <message>
        <source>Files&apos; extension should be looking in:</source>
        <translation>ابحث في الملفات ذات الامتداد:</translation>
    </message>
    <message>
        <source>Put found strings in separated files.</source>
        <translation>ضع كل نص مستخرج في ملف مستقل.</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>GO!</source>
        <translation>ابدأ!</translation>
    </message>
    <message>
        <source>Choose folder</source>
        <translation>اختر المجلد</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>السجل</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>التقدم</translation>
    </message>
    <message>
        <source>Choose path, extension and press &quot;GO!&quot;.<byte value="xd"/>
This software will open all files and will<byte value="xd"/>
search for &quot;start string&quot;, if it would be find,<byte value="xd"/>
software starts to look for &quot;end string&quot;, and<byte value="xd"/>
extract everythings inside them, and save<byte value="xd"/>
it in a new text file.<byte value="xd"/>
</source>
        <translation>اختر المجلد والامتداد واضغط &quot;ابدأ!&quot;.<byte value="xd"/>
يفتح البرنامج كل الملفات ويبحث فيها<byte value="xd"/>
عن &quot;نص البداية&quot;، فإن وجده بحث عن<byte value="xd"/>
&quot;نص النهاية&quot;، واستخرج كل ما بينهما<byte value="xd"/>
وحفظه في ملف نصي جديد.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Choose Folder:</source>
        <translation>اختر المجلد:</translation>
    </message>
    <message>
        <source>Explain why files gave no piece</source>
        <translation>اشرح لماذا لم يُستخرج نص من بعض الملفات</translation>
    </message>
    <message>
        <source>Suggest markers from the folder</source>
        <translation>اقترح علامتين من ملفات المجلد</translation>
    </message>
    <message>
        <source>These markers give a piece on %1 of %2 files; the best pair is a pattern, which the window cannot run.</source>
        <translation>تستخرج هاتان العلامتان نصًا من %1 من %2 ملفًا؛ أفضل زوج نمطٌ لا تستطيع النافذة تشغيله.</translation>
    </message>
    <message>
        <source>Only a pattern was found, which the window cannot run: start %1, end %2.</source>
        <translation>لم يوجد إلا نمط لا تستطيع النافذة تشغيله: البداية %1، والنهاية %2.</translation>
    </message>
    <message>
        <source>23 file checked, 3 string(s) didn&apos;t find.</source>
        <translation>فُحص 23 ملفًا، ولم يوجد 3 نصوص.</translation>
    </message>
    <message>
        <source>Didn&apos;t find files&apos; path.</source>
        <translation>لم يُعثر على مسار الملفات.</translation>
    </message>
    <message>
        <source>Didn&apos;t find extension.</source>
        <translation>لم يُعثر على الامتداد.</translation>
    </message>
    <message>
        <source>Didn&apos;t find choosed folder.</source>
        <translation>لم يُعثر على المجلد المختار.</translation>
    </message>
    <message>
        <source>Unknown error occurred:</source>
        <translation>حدث خطأ غير معروف:</translation>
    </message>
    <message>
        <source>Stopped by the user.</source>
        <translation>أوقفه المستخدم.</translation>
    </message>
    <message>
        <source>Can&apos;t read: %1</source>
        <translation>تعذّرت القراءة: %1</translation>
    </message>
    <message>
        <source>Haven&apos;t start: %1</source>
        <translation>لا بداية: %1</translation>
    </message>
    <message>
        <source>Haven&apos;t end: %1</source>
        <translation>لا نهاية: %1</translation>
    </message>
    <message>
        <source>Can&apos;t open: %1</source>
        <translation>تعذّر الفتح: %1</translation>
    </message>
    <message>
        <source>%1 checked, %2 didn&apos;t find.</source>
        <translation>فُحص %1، ولم يوجد %2.</translation>
    </message>
    <message>
        <source>No file in %1 has the extension %2.</source>
        <translation>لا يوجد في %1 ملف بالامتداد %2.</translation>
    </message>
    <message>
        <source>No file in %1 has the extension %2; the extension is typed without its dot: %3.</source>
        <translation>لا يوجد في %1 ملف بالامتداد %2؛ يُكتب الامتداد بلا نقطة: %3.</translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru">
<context>
    <name>Export</name>
    <message>
        <source>Название</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Тип</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Серии</source>
        <translation>Episodes</translation>
    </message>
    <message>
        <source>Объём</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Длительность</source>
        <translation>Running time</translation>
    </message>
    <message>
        <source>Качество</source>
        <translation>Quality</translation>
    </message>
    <message>
        <source>Звук</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>Sub In</source>
        <translation>Sub In</translation>
    </message>
    <message>
        <source>Sub Ext</source>
        <translation>Sub Ext</translation>
    </message>
    <message>
        <source>Комментарий</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>Всего:  </source>
        <translation>Total:  </translation>
    </message>
</context>
<context>
    <name>ListImport</name>
    <message>
        <source>Название</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Тип</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Серии</source>
        <translation>Episodes</translation>
    </message>
    <message>
        <source>Тип и Серии (если в одном поле)</source>
        <translation>Type and episodes (if in one field)</translation>
    </message>
    <message>
        <source>Комментарий</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>Тип и Серии</source>
        <translation>Type and episodes</translation>
    </message>
</context>
<context>
    <name>Summary</name>
    <message>
        <source>Название</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Тип</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Серии</source>
        <translation>Episodes</translation>
    </message>
    <message>
        <source>Объём</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Длительность</source>
        <translation>Running time</translation>
    </message>
    <message>
        <source>Качество</source>
        <translation>Quality</translation>
    </message>
    <message>
        <source>Звук</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>Sub In</source>
        <translation>Sub In</translation>
    </message>
    <message>
        <source>Sub Ext</source>
        <translation>Sub Ext</translation>
    </message>
    <message>
        <source>Комментарий</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>Выбрано</source>
        <translation>Selected</translation>
    </message>
</context>
<context>
    <name>convert_wiring</name>
    <message>
        <source>Файл Vidoteq (*.vdq)</source>
        <translation>Vidoteq file (*.vdq)</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>desktop_wiring</name>
    <message>
        <source>&amp;Файл</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Открыть каталог…</source>
        <translation>&amp;Open catalog…</translation>
    </message>
    <message>
        <source>&amp;Недавние каталоги</source>
        <translation>&amp;Recent catalogs</translation>
    </message>
    <message>
        <source>Новая &amp;База…</source>
        <translation>New &amp;catalog…</translation>
    </message>
    <message>
        <source>&amp;Перенести каталог Access…</source>
        <translation>&amp;Bring over an Access catalog…</translation>
    </message>
    <message>
        <source>&amp;Экспорт</source>
        <translation>&amp;Export</translation>
    </message>
    <message>
        <source>В&amp;ыход</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;Правка</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;Найти</source>
        <translation>&amp;Find</translation>
    </message>
    <message>
        <source>&amp;Справка</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;О программе</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>Щелчок — открыть другой каталог (Ctrl+O)</source>
        <translation>Click to open another catalog (Ctrl+O)</translation>
    </message>
    <message>
        <source>Каталог Access (*.mdb);;Все файлы (*)</source>
        <translation>Access catalog (*.mdb);;All files (*)</translation>
    </message>
    <message>
        <source>Поиск по названию</source>
        <translation>Search by title</translation>
    </message>
    <message>
        <source>Открытый каталог</source>
        <translation>Open catalog</translation>
    </message>
    <message>
        <source>Страницы</source>
        <translation>Pages</translation>
    </message>
    <message>
        <source>Список аниме</source>
        <translation>Title list</translation>
    </message>
    <message>
        <source>Серии аниме</source>
        <translation>Episodes of the title</translation>
    </message>
    <message>
        <source>Сводная таблица</source>
        <translation>Summary table</translation>
    </message>
    <message>
        <source>Выбранные аниме</source>
        <translation>Selected titles</translation>
    </message>
    <message>
        <source>Аниме для новых серий</source>
        <translation>Title for new episodes</translation>
    </message>
    <message>
        <source>Диски</source>
        <translation>Drives</translation>
    </message>
    <message>
        <source>Серии выбранного аниме</source>
        <translation>Episodes of the chosen title</translation>
    </message>
    <message>
        <source>Название нового аниме</source>
        <translation>Name of the new title</translation>
    </message>
    <message>
        <source>Папки</source>
        <translation>Folders</translation>
    </message>
    <message>
        <source>Файлы папки</source>
        <translation>Files in the folder</translation>
    </message>
    <message>
        <source>Ход добавления</source>
        <translation>Progress of adding</translation>
    </message>
    <message>
        <source>Другие названия</source>
        <translation>Other names</translation>
    </message>
    <message>
        <source>Тип</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Число серий</source>
        <translation>Number of episodes</translation>
    </message>
    <message>
        <source>Комментарий</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>Объём серий</source>
        <translation>Size of the episodes</translation>
    </message>
    <message>
        <source>Время серий</source>
        <translation>Running time of the episodes</translation>
    </message>
    <message>
        <source>Другие меню</source>
        <translation>More menus</translation>
    </message>
</context>
<context>
    <name>exports_wiring</name>
    <message>
        <source>Страница HTML (*.html *.htm)</source>
        <translation>HTML page (*.html *.htm)</translation>
    </message>
    <message>
        <source>Таблица Excel (*.xlsx)</source>
        <translation>Excel workbook (*.xlsx)</translation>
    </message>
</context>
<context>
    <name>filter_bar</name>
    <message>
        <source>все</source>
        <translation>all</translation>
    </message>
    <message>
        <source>Тип</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Звук</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>Субт. встр.</source>
        <translation>Subs in</translation>
    </message>
    <message>
        <source>Субт. внеш.</source>
        <translation>Subs ext</translation>
    </message>
    <message>
        <source>Кадр</source>
        <translation>Frame</translation>
    </message>
    <message>
        <source>Видео</source>
        <translation>Video codec</translation>
    </message>
    <message>
        <source>Аудио</source>
        <translation>Audio codec</translation>
    </message>
    <message>
        <source>Контейнер</source>
        <translation>Container</translation>
    </message>
    <message>
        <source>Добавлены за дней</source>
        <translation>Added within days</translation>
    </message>
    <message>
        <source>Без серий</source>
        <translation>No episodes</translation>
    </message>
    <message>
        <source>неполные</source>
        <translation>incomplete</translation>
    </message>
    <message>
        <source>Аниме, у которых по номерам в именах файлов не хватает серий</source>
        <translation>Titles whose file names show episode numbers missing</translation>
    </message>
    <message>
        <source>в любом месте</source>
        <translation>anywhere</translation>
    </message>
    <message>
        <source>Искать текст поиска в любом месте названия, а не только в начале</source>
        <translation>Look for the search text anywhere in the title, not only at the start</translation>
    </message>
    <message>
        <source>Сбросить</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>от %1p</source>
        <translation>from %1p</translation>
    </message>
    <message>
        <source>есть дубликаты</source>
        <translation>stored twice</translation>
    </message>
    <message>
        <source>Аниме, у которых серия хранится в двух местах или тот же файл есть у другой серии</source>
        <translation>Anime with an episode stored in two places, or whose file another episode has too</translation>
    </message>
    <message>
        <source>одна копия</source>
        <translation>one copy</translation>
    </message>
    <message>
        <source>Аниме, у которых есть серия только на одном диске</source>
        <translation>Anime with an episode on one drive only</translation>
    </message>
</context>
<context>
    <name>hash_handlers</name>
    <message>
        <source>Суммы файлов</source>
        <translation>File checksums</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Изменились после подсчёта</source>
        <translation>Changed since they were hashed</translation>
    </message>
    <message>
        <source>Не совпадают с именем</source>
        <translation>Do not match the name</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Vidoteq: каталог аниме и видеофайлов их серий.</source>
        <translation>Vidoteq: a catalog of anime titles and the video files of their episodes.</translation>
    </message>
    <message>
        <source>каталог (.vdq), который открыть</source>
        <translation>catalog (.vdq) to open</translation>
    </message>
</context>
<context>
    <name>narrownote</name>
    <message>
        <source>Показать все</source>
        <translation>Show all</translation>
    </message>
    <message>
        <source>Показано %1 из %2</source>
        <translation>Showing %1 of %2</translation>
    </message>
    <message>
        <source>Список сужен поиском или фильтром</source>
        <translation>The list is narrowed by the search or the filter</translation>
    </message>
</context>
<context>
    <name>page_drives</name>
    <message>
        <source>Диск</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>Метка</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>Состояние</source>
        <translation>State</translation>
    </message>
    <message>
        <source>Файлов</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>Объём</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Последняя проверка</source>
        <translation>Last checked</translation>
    </message>
    <message>
        <source>Опознаётся по</source>
        <translation>Identified by</translation>
    </message>
    <message>
        <source>Переименовать</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>Проверить файлы</source>
        <translation>Check files</translation>
    </message>
    <message>
        <source>Забыть диск</source>
        <translation>Forget drive</translation>
    </message>
    <message>
        <source>Убрать ненайденные</source>
        <translation>Remove missing</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Посчитать суммы</source>
        <translation>Hash files</translation>
    </message>
    <message>
        <source>Прочитать файлы без CRC32 и ed2k; каждый диск читается одним потоком</source>
        <translation>Read the files that have no CRC32 and ed2k yet; each drive is read by one reader</translation>
    </message>
    <message>
        <source>Сверить с именами</source>
        <translation>Check against names</translation>
    </message>
    <message>
        <source>Сравнить CRC32 файлов с суммами в квадратных скобках в их именах</source>
        <translation>Compare the files&apos; CRC32 with the checksums in square brackets in their names</translation>
    </message>
    <message>
        <source>Перепроверить</source>
        <translation>Recheck</translation>
    </message>
    <message>
        <source>Прочитать все файлы заново и сравнить с сохранёнными суммами</source>
        <translation>Read every file again and compare it with the stored checksums</translation>
    </message>
    <message>
        <source>Одинаковые файлы</source>
        <translation>Identical files</translation>
    </message>
    <message>
        <source>Считать суммы в фоне</source>
        <translation>Hash in the background</translation>
    </message>
    <message>
        <source>Считать суммы новых файлов сразу после добавления и при открытии каталога</source>
        <translation>Hash new files right after they are added and when the catalog opens</translation>
    </message>
    <message>
        <source>Результат сверки</source>
        <translation>Check results</translation>
    </message>
    <message>
        <source>Файл</source>
        <translation>File</translation>
    </message>
    <message>
        <source>В имени</source>
        <translation>In the name</translation>
    </message>
    <message>
        <source>Серия</source>
        <translation>Episode</translation>
    </message>
</context>
<context>
    <name>page_intake</name>
    <message>
        <source>Аниме:</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>Серия:</source>
        <translation>Episode:</translation>
    </message>
    <message>
        <source>Время:</source>
        <translation>Time:</translation>
    </message>
    <message>
        <source>Объём:</source>
        <translation>Size:</translation>
    </message>
    <message>
        <source>Размеры:</source>
        <translation>Frame:</translation>
    </message>
    <message>
        <source>Кодеки:</source>
        <translation>Codecs:</translation>
    </message>
    <message>
        <source>Звук:</source>
        <translation>Audio:</translation>
    </message>
    <message>
        <source>Sub In:</source>
        <translation>Sub In:</translation>
    </message>
    <message>
        <source>Sub Ext:</source>
        <translation>Sub Ext:</translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Добавить всё</source>
        <translation>Add all</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Добавлять и уже добавленные</source>
        <translation>Add already added ones too</translation>
    </message>
    <message>
        <source>Файл с тем же именем и размером, что уже есть у этого аниме, добавляется ещё раз</source>
        <translation>A file with the same name and size as one this title already has is added again</translation>
    </message>
    <message>
        <source>Обновить</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>С подпапками</source>
        <translation>With subfolders</translation>
    </message>
    <message>
        <source>...Добавить новое аниме...</source>
        <translation>...Add a new title...</translation>
    </message>
</context>
<context>
    <name>page_service</name>
    <message>
        <source>Сервисные функции</source>
        <translation>Service functions</translation>
    </message>
    <message>
        <source>Новая База</source>
        <translation>New catalog</translation>
    </message>
    <message>
        <source>Создать новый файл Vidoteq</source>
        <translation>Create a new Vidoteq file</translation>
    </message>
    <message>
        <source>Мастер Импорта Списка</source>
        <translation>List Import Wizard</translation>
    </message>
</context>
<context>
    <name>page_stats</name>
    <message>
        <source>Аниме:</source>
        <translation>Titles:</translation>
    </message>
    <message>
        <source>Файлов:</source>
        <translation>Files:</translation>
    </message>
    <message>
        <source>Объём:</source>
        <translation>Size:</translation>
    </message>
    <message>
        <source>Время:</source>
        <translation>Time:</translation>
    </message>
    <message>
        <source>Всего</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>Выбрано</source>
        <translation>Selected</translation>
    </message>
    <message>
        <source>Выбранно:</source>
        <translation>Selected:</translation>
    </message>
</context>
<context>
    <name>page_titles</name>
    <message>
        <source>Серия</source>
        <translation>Episode</translation>
    </message>
    <message>
        <source>Объём (байт)</source>
        <translation>Size (bytes)</translation>
    </message>
    <message>
        <source>Размеры</source>
        <translation>Frame</translation>
    </message>
    <message>
        <source>Длительность</source>
        <translation>Running time</translation>
    </message>
    <message>
        <source>Звук</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>Другие названия</source>
        <translation>Other names</translation>
    </message>
    <message>
        <source>Название</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Изменить</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Открыть папку</source>
        <translation>Open folder</translation>
    </message>
    <message>
        <source>Привязать папку…</source>
        <translation>Attach folder…</translation>
    </message>
</context>
<context>
    <name>stats_charts</name>
    <message>
        <source>только показанные</source>
        <translation>shown only</translation>
    </message>
    <message>
        <source>Диаграммы только по аниме, которые показывают фильтр и поиск</source>
        <translation>Charts of only the titles the filter and the search show</translation>
    </message>
    <message>
        <source>Диаграммы</source>
        <translation>Charts</translation>
    </message>
    <message>
        <source>По типам</source>
        <translation>By type</translation>
    </message>
    <message>
        <source>По дискам</source>
        <translation>By drive</translation>
    </message>
    <message>
        <source>По кадру</source>
        <translation>By frame</translation>
    </message>
    <message>
        <source>Видеокодеки</source>
        <translation>Video codecs</translation>
    </message>
    <message>
        <source>По месяцам</source>
        <translation>By month</translation>
    </message>
    <message>
        <source>%1: файлов %2, %3</source>
        <translation>%1: %2 files, %3</translation>
    </message>
    <message>
        <source>неизвестно</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>Объём по типам</source>
        <translation>Space by type</translation>
    </message>
    <message>
        <source>прочие</source>
        <translation>others</translation>
    </message>
    <message>
        <source>подключён</source>
        <translation>connected</translation>
    </message>
    <message>
        <source>не подключён</source>
        <translation>not connected</translation>
    </message>
    <message>
        <source>Гб</source>
        <translation>GB</translation>
    </message>
    <message>
        <source>Объём по дискам: места файлов не известны</source>
        <translation>Space by drive: the files' places are not known</translation>
    </message>
    <message>
        <source>Объём по дискам</source>
        <translation>Space by drive</translation>
    </message>
    <message>
        <source>Файлов</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>Файлы по кадру</source>
        <translation>Files by frame</translation>
    </message>
    <message>
        <source>Добавлено по месяцам</source>
        <translation>Added by month</translation>
    </message>
</context>
<context>
    <name>stats_handlers</name>
    <message>
        <source>Всего: </source>
        <translation>Total: </translation>
    </message>
</context>
<context>
    <name>tfmastera</name>
    <message>
        <source>Мастер импорта списка</source>
        <translation>List Import Wizard</translation>
    </message>
    <message>
        <source>Открыть</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Обновить</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Выберите файл для импорта</source>
        <translation>Choose the file to import</translation>
    </message>
</context>
<context>
    <name>tselform</name>
    <message>
        <source>Выбрать всё</source>
        <translation>Select all</translation>
    </message>
</context>
<context>
    <name>tview_base</name>
    <message>
        <source>Информация по сериям</source>
        <translation>Episode details</translation>
    </message>
    <message>
        <source>Сводная таблица</source>
        <translation>Summary table</translation>
    </message>
    <message>
        <source>Статистика</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>Добавить новое</source>
        <translation>Add new</translation>
    </message>
    <message>
        <source>Дополнительно</source>
        <translation>More</translation>
    </message>
    <message>
        <source>Диски</source>
        <translation>Drives</translation>
    </message>
    <message>
        <source>Всего:</source>
        <translation>Total:</translation>
    </message>
    <message>
        <source>Укажите файл базы</source>
        <translation>Choose the catalog file</translation>
    </message>
    <message>
        <source>Файл Vidoteq (*.vdq);;Каталог Access (*.mdb);;Все файлы (*)</source>
        <translation>Vidoteq file (*.vdq);;Access catalog (*.mdb);;All files (*)</translation>
    </message>
    <message>
        <source>Файл Vidoteq (*.vdq)</source>
        <translation>Vidoteq file (*.vdq)</translation>
    </message>
</context>
<context>
    <name>vq::msg</name>
    <message>
        <source>--title НАЗВАНИЕ, --title-id ID или --guess-title</source>
        <translation>--title NAME, --title-id ID or --guess-title</translation>
    </message>
    <message>
        <source>Каталог «%1» открыт только для чтения: изменение не сохранено.</source>
        <translation>Catalog “%1” is open read-only: the change was not saved.</translation>
    </message>
    <message>
        <source>Каталог «%1» открыт только для чтения.</source>
        <translation>Catalog “%1” is open read-only.</translation>
    </message>
    <message>
        <source> (только чтение)</source>
        <translation> (read-only)</translation>
    </message>
    <message>
        <source>Файл «%1» не является каталогом Vidoteq: в «%2» нет столбцов %3. Файл не изменён.</source>
        <translation>File “%1” is not a Vidoteq catalog: “%2” has no columns %3. The file was not changed.</translation>
    </message>
    <message>
        <source>Файл «%1» уже существует; новый каталог поверх него не создан.</source>
        <translation>File “%1” already exists; no new catalog was made over it.</translation>
    </message>
    <message>
        <source>Каталог «%1» не удалось создать: %2</source>
        <translation>Catalog “%1” could not be created: %2</translation>
    </message>
    <message>
        <source>Каталог «%1» не удалось прочитать: %2</source>
        <translation>Catalog “%1” could not be read: %2</translation>
    </message>
    <message>
        <source>вне диапазона</source>
        <translation>out of range</translation>
    </message>
    <message>
        <source> не является целым числом</source>
        <translation> is not an integer</translation>
    </message>
    <message>
        <source> не является числом</source>
        <translation> is not a number</translation>
    </message>
    <message>
        <source> не является логическим значением</source>
        <translation> is not a true/false value</translation>
    </message>
    <message>
        <source> не является датой и временем</source>
        <translation> is not a date and time</translation>
    </message>
    <message>
        <source>Каталог не запомнен: укажите его с --catalog ФАЙЛ.</source>
        <translation>No catalog remembered: name it with --catalog FILE.</translation>
    </message>
    <message>
        <source>В каталоге нет аниме с ID %1.</source>
        <translation>The catalog has no title with ID %1.</translation>
    </message>
    <message>
        <source>Не удалось перейти в папку &apos;%1&apos;: %2</source>
        <translation>Could not enter folder &apos;%1&apos;: %2</translation>
    </message>
    <message>
        <source>%1: нет такого файла</source>
        <translation>%1: no such file</translation>
    </message>
    <message>
        <source>%1: это папка, а не файл</source>
        <translation>%1: this is a folder, not a file</translation>
    </message>
    <message>
        <source>%1: это не обычный файл</source>
        <translation>%1: this is not a regular file</translation>
    </message>
    <message>
        <source>%1: файл не читается (%2)</source>
        <translation>%1: the file cannot be read (%2)</translation>
    </message>
    <message>
        <source>%1: библиотека MediaInfo не назвала размер файла (ответ «%2»)</source>
        <translation>%1: the MediaInfo library did not give the file&apos;s size (answer “%2”)</translation>
    </message>
    <message>
        <source>%1: проверка не закончилась за %2 с и прервана</source>
        <translation>%1: the check did not finish within %2 s and was stopped</translation>
    </message>
    <message>
        <source>Настройка %1 = «%2» вне пределов %3–%4 с: проверка файла ограничена %5 с.</source>
        <translation>Setting %1 = “%2” is outside %3–%4 s: checking a file is limited to %5 s.</translation>
    </message>
    <message>
        <source>%1: библиотека MediaInfo аварийно завершилась на этом файле (%2)</source>
        <translation>%1: the MediaInfo library crashed on this file (%2)</translation>
    </message>
    <message>
        <source>Не удалось запустить программу проверки файлов «%1»: %2</source>
        <translation>Could not start the file checking program “%1”: %2</translation>
    </message>
    <message>
        <source>%1: не добавлен в базу: %2</source>
        <translation>%1: not added to the catalog: %2</translation>
    </message>
    <message>
        <source>Открыта другая база: добавление остановлено.</source>
        <translation>Another catalog was opened: adding stopped.</translation>
    </message>
    <message>
        <source>--jobs: «%1» — не число рабочих процессов (нужно 1 или больше)</source>
        <translation>--jobs: “%1” is not a number of worker processes (1 or more is needed)</translation>
    </message>
    <message>
        <source>Нет аниме с ID %1.</source>
        <translation>No title with ID %1.</translation>
    </message>
    <message>
        <source>Добавление файлов</source>
        <translation>Adding files</translation>
    </message>
    <message>
        <source>Добавлено файлов: %1 из %2.</source>
        <translation>Files added: %1 of %2.</translation>
    </message>
    <message>
        <source>Добавление отменено; добавленное сохранено.</source>
        <translation>Adding cancelled; what was added is kept.</translation>
    </message>
    <message>
        <source>Пропущено уже добавленных к этому аниме (то же имя и размер): %1.</source>
        <translation>Skipped as already added to this title (same name and size): %1.</translation>
    </message>
    <message>
        <source>Добавлены, хотя файл с тем же именем и размером есть у другого аниме: %1</source>
        <translation>Added although another title has a file with the same name and size: %1</translation>
    </message>
    <message>
        <source>%1 (также у: %2)</source>
        <translation>%1 (also in: %2)</translation>
    </message>
    <message>
        <source>Пропущено с причиной: %1</source>
        <translation>Skipped with a reason: %1</translation>
    </message>
    <message>
        <source>… и ещё %1</source>
        <translation>… and %1 more</translation>
    </message>
    <message>
        <source>Не удалось добавить файлов: %1 из %2.</source>
        <translation>Files that could not be added: %1 of %2.</translation>
    </message>
    <message>
        <source>Не выбрано аниме: выберите его в списке или создайте новое.</source>
        <translation>No title chosen: choose one in the list or create a new one.</translation>
    </message>
    <message>
        <source>Не выбран файл: щёлкните файл в списке.</source>
        <translation>No file chosen: click a file in the list.</translation>
    </message>
    <message>
        <source>Нет языка с ключом %1.</source>
        <translation>No language with key %1.</translation>
    </message>
    <message>
        <source>Нет видеофайлов для добавления: %1</source>
        <translation>No video files to add: %1</translation>
    </message>
    <message>
        <source>Добавлено файлов: %1 из %2, к аниме «%3» (ID %4).</source>
        <translation>Files added: %1 of %2, to the title “%3” (ID %4).</translation>
    </message>
    <message>
        <source>Аниме «%1» создано (ID %2).</source>
        <translation>Title “%1” created (ID %2).</translation>
    </message>
    <message>
        <source>Ни один файл не добавлен; аниме «%1» не создано.</source>
        <translation>No file was added; the title “%1” was not created.</translation>
    </message>
    <message>
        <source>Пропущен, уже есть у этого аниме: %1</source>
        <translation>Skipped, this title already has it: %1</translation>
    </message>
    <message>
        <source>Добавлен, хотя есть и у другого аниме: %1 (также у: %2)</source>
        <translation>Added, although another title has it too: %1 (also in: %2)</translation>
    </message>
    <message>
        <source>Пропущен: %1</source>
        <translation>Skipped: %1</translation>
    </message>
    <message>
        <source>В папке нет видеофайлов: %1</source>
        <translation>No video files in the folder: %1</translation>
    </message>
    <message>
        <source>«%1»</source>
        <translation>“%1”</translation>
    </message>
    <message>
        <source>серия</source>
        <translation>episode</translation>
    </message>
    <message>
        <source>серии</source>
        <translation>episodes</translation>
    </message>
    <message>
        <source>серий</source>
        <translation>episodes</translation>
    </message>
    <message>
        <source>название</source>
        <translation>title</translation>
    </message>
    <message>
        <source>названия</source>
        <translation>titles</translation>
    </message>
    <message>
        <source>названий</source>
        <translation>titles</translation>
    </message>
    <message>
        <source>Файла %1 нет.</source>
        <translation>File %1 does not exist.</translation>
    </message>
    <message>
        <source>Файл %1 — не каталог Access (.mdb): перенос невозможен.</source>
        <translation>File %1 is not an Access catalog (.mdb): it cannot be brought over.</translation>
    </message>
    <message>
        <source>Каталог Access %1 повреждён (%2): перенос невозможен, новый каталог не создан.</source>
        <translation>Access catalog %1 is damaged (%2): it cannot be brought over, no new catalog was made.</translation>
    </message>
    <message>
        <source>Файл %1 не удаётся прочитать: %2</source>
        <translation>File %1 cannot be read: %2</translation>
    </message>
    <message>
        <source>Файл %1 — база Access другой программы, а не каталог Vidoteq (нет таблиц: %2).</source>
        <translation>File %1 is an Access database of another program, not a Vidoteq catalog (missing tables: %2).</translation>
    </message>
    <message>
        <source>В таблице %1 файла %2 нет столбца %3: это не каталог Vidoteq.</source>
        <translation>Table %1 of file %2 has no column %3: this is not a Vidoteq catalog.</translation>
    </message>
    <message>
        <source>Столбец %1 таблицы %2 файла %3 имеет неожиданный тип: это не каталог Vidoteq.</source>
        <translation>Column %1 of table %2 of file %3 has an unexpected type: this is not a Vidoteq catalog.</translation>
    </message>
    <message>
        <source>Файл %1 сохранён в формате Access 97 (Jet 3). Его тексты записаны в кодовой странице Windows, которую файл не называет, и не перенеслись бы без искажений. Сохраните его в Access в формате Access 2000 и повторите.</source>
        <translation>File %1 is saved in the Access 97 format (Jet 3). Its texts are written in a Windows code page that the file does not name, and would not come over intact. Save it in Access in the Access 2000 format and try again.</translation>
    </message>
    <message>
        <source>Файл %1 — база Access неизвестной версии (%2): перенос невозможен.</source>
        <translation>File %1 is an Access database of an unknown version (%2): it cannot be brought over.</translation>
    </message>
    <message>
        <source>В файле %1 текст %2 строки %3 таблицы %4 длиннее 255 знаков: перенос невозможен.</source>
        <translation>In file %1, the text %2 of row %3 of table %4 is longer than 255 characters: it cannot be brought over.</translation>
    </message>
    <message>
        <source>Файл %1 уже есть; он не будет заменён. Выберите другое имя.</source>
        <translation>File %1 already exists; it will not be replaced. Choose another name.</translation>
    </message>
    <message>
        <source>Не указано, куда сохранить новый каталог.</source>
        <translation>No place to save the new catalog was given.</translation>
    </message>
    <message>
        <source>Каталог %1 нельзя перенести в самого себя: укажите новый файл .vdq.</source>
        <translation>Catalog %1 cannot be brought over into itself: name a new .vdq file.</translation>
    </message>
    <message>
        <source>Новый каталог %1 не удаётся записать: %2</source>
        <translation>The new catalog %1 cannot be written: %2</translation>
    </message>
    <message>
        <source>Итоги нового каталога %1 не сходятся со старыми: перенос отменён.</source>
        <translation>The totals of the new catalog %1 do not match the old ones: bringing over cancelled.</translation>
    </message>
    <message>
        <source>файл обрезан</source>
        <translation>the file is cut short</translation>
    </message>
    <message>
        <source>в таблице %1 прочитано %2 строк из %3</source>
        <translation>%2 of %3 rows read in table %1</translation>
    </message>
    <message>
        <source>испорчена строка таблицы %1</source>
        <translation>a damaged row in table %1</translation>
    </message>
    <message>
        <source>нет таблиц: %1</source>
        <translation>missing tables: %1</translation>
    </message>
    <message>
        <source>не читается список таблиц</source>
        <translation>the list of tables cannot be read</translation>
    </message>
    <message>
        <source>чтение не продвинулось за %1 с и прервано</source>
        <translation>reading made no progress within %1 s and was stopped</translation>
    </message>
    <message>
        <source>чтению не хватило %1 МБ памяти, оно прервано</source>
        <translation>reading ran out of %1 MB of memory and was stopped</translation>
    </message>
    <message>
        <source>чтение оборвалось: %1</source>
        <translation>reading broke off: %1</translation>
    </message>
    <message>
        <source>Программа переноса каталогов %1 не запускается (%2): перенос невозможен.</source>
        <translation>The catalog conversion program %1 does not start (%2): the catalog cannot be brought over.</translation>
    </message>
    <message>
        <source>Удалённое название %1</source>
        <translation>Deleted title %1</translation>
    </message>
    <message>
        <source>Серии без названия</source>
        <translation>Episodes without a title</translation>
    </message>
    <message>
        <source>Тип %1</source>
        <translation>Type %1</translation>
    </message>
    <message>
        <source>Язык %1</source>
        <translation>Language %1</translation>
    </message>
    <message>
        <source>Кодек %1</source>
        <translation>Codec %1</translation>
    </message>
    <message>
        <source>Формат %1</source>
        <translation>Format %1</translation>
    </message>
    <message>
        <source>Перенесено: %1, %2, альтернативных названий: %3, типов: %4, языков: %5, кодеков: %6, форматов: %7.</source>
        <translation>Brought over: %1, %2, other names: %3, types: %4, languages: %5, codecs: %6, formats: %7.</translation>
    </message>
    <message>
        <source>Названия с ключом %1 нет (удалено): %2 и альтернативных названий: %3 — под новым названием %4 (ID %1, тип 4).</source>
        <translation>Title key %1 does not exist (deleted): %2 and other names: %3 — under the new title %4 (ID %1, type 4).</translation>
    </message>
    <message>
        <source>Без ключа названия: %1 — под новым названием %2 (ID %3, тип 4).</source>
        <translation>Without a title key: %1 — under the new title %2 (ID %3, type 4).</translation>
    </message>
    <message>
        <source>Без типа: %1 — записан тип 0.</source>
        <translation>Without a type: %1 — type 0 written.</translation>
    </message>
    <message>
        <source>Типа %1 нет в таблице «Тип»: %2 — добавлен тип %1 %3.</source>
        <translation>Type %1 is not in table “Тип”: %2 — type %1 %3 added.</translation>
    </message>
    <message>
        <source>Языка %1 нет в таблице «Sub»: %2 — добавлен язык %1 %3.</source>
        <translation>Language %1 is not in table “Sub”: %2 — language %1 %3 added.</translation>
    </message>
    <message>
        <source>Кодека %1 нет в таблице «Codec»: %2 — добавлен кодек %1 %3.</source>
        <translation>Codec %1 is not in table “Codec”: %2 — codec %1 %3 added.</translation>
    </message>
    <message>
        <source>Формата %1 нет в таблице «Format»: %2 — добавлен формат %1 %3.</source>
        <translation>Format %1 is not in table “Format”: %2 — format %1 %3 added.</translation>
    </message>
    <message>
        <source>В таблице %1 нет столбца %2: его значения оставлены пустыми.</source>
        <translation>Table %1 has no column %2: its values were left empty.</translation>
    </message>
    <message>
        <source>Исправлять ничего не пришлось.</source>
        <translation>Nothing needed mending.</translation>
    </message>
    <message>
        <source>Куда сохранить перенесённый каталог</source>
        <translation>Where to save the converted catalog</translation>
    </message>
    <message>
        <source>Перенос каталога %1…</source>
        <translation>Bringing over catalog %1…</translation>
    </message>
    <message>
        <source>Каталог перенесён</source>
        <translation>Catalog brought over</translation>
    </message>
    <message>
        <source>Новый каталог: %1

%2</source>
        <translation>New catalog: %1

%2</translation>
    </message>
    <message>
        <source>Не удаётся создать файл &quot;%1&quot;. %2</source>
        <translation>Cannot create file &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>Не удаётся создать папку &quot;%1&quot;.</source>
        <translation>Cannot create folder &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Не хватает памяти.</source>
        <translation>Out of memory.</translation>
    </message>
    <message>
        <source>Создан файл </source>
        <translation>File created: </translation>
    </message>
    <message>
        <source>Таблица сохранена в файл %1, но открыть её нечем.</source>
        <translation>The table was saved to %1, but there is no program to open it.</translation>
    </message>
    <message>
        <source>Ячейка (%1, %2) вне таблицы</source>
        <translation>Cell (%1, %2) is outside the table</translation>
    </message>
    <message>
        <source>Строка %1 списка содержит нулевой байт: это не текстовый список.</source>
        <translation>Line %1 of the list holds a zero byte: this is not a text list.</translation>
    </message>
    <message>
        <source>Строка %1 списка не читается ни как UTF-8, ни как Windows-1251.</source>
        <translation>Line %1 of the list reads neither as UTF-8 nor as Windows-1251.</translation>
    </message>
    <message>
        <source>Список в UTF-16 обрывается на половине знака.</source>
        <translation>The UTF-16 list breaks off in the middle of a character.</translation>
    </message>
    <message>
        <source>Нет открытой базы.</source>
        <translation>No catalog is open.</translation>
    </message>
    <message>
        <source>«%1» не годится как имя файла каталога.</source>
        <translation>“%1” will not do as a catalog file name.</translation>
    </message>
    <message>
        <source>В каталоге нет таблицы или запроса «%1».</source>
        <translation>The catalog has no table or query “%1”.</translation>
    </message>
    <message>
        <source>В каталоге нет таблицы «%1».</source>
        <translation>The catalog has no table “%1”.</translation>
    </message>
    <message>
        <source>В каталоге нет запроса «%1».</source>
        <translation>The catalog has no query “%1”.</translation>
    </message>
    <message>
        <source>В наборе данных «%1» нет поля номер %2.</source>
        <translation>Data set “%1” has no field number %2.</translation>
    </message>
    <message>
        <source>В наборе данных «%1» нет поля «%2».</source>
        <translation>Data set “%1” has no field “%2”.</translation>
    </message>
    <message>
        <source>Набор данных «%1» не открыт.</source>
        <translation>Data set “%1” is not open.</translation>
    </message>
    <message>
        <source>Запрос «%1» только для чтения.</source>
        <translation>Query “%1” is read-only.</translation>
    </message>
    <message>
        <source>Набор данных «%1» нельзя упорядочить по «%2».</source>
        <translation>Data set “%1” cannot be sorted by “%2”.</translation>
    </message>
    <message>
        <source>В наборе данных «%1» нет записи для изменения.</source>
        <translation>Data set “%1” has no record to change.</translation>
    </message>
    <message>
        <source>В наборе данных «%1» нет записи для удаления.</source>
        <translation>Data set “%1” has no record to delete.</translation>
    </message>
    <message>
        <source>Набор данных «%1» не в режиме правки или добавления.</source>
        <translation>Data set “%1” is not being edited or appended to.</translation>
    </message>
    <message>
        <source>Поле «%1» изменить нельзя.</source>
        <translation>Field “%1” cannot be changed.</translation>
    </message>
    <message>
        <source>Поле «%1» вмещает не больше %2 знаков, а в тексте их %3. Ничего не сохранено.</source>
        <translation>Field “%1” holds at most %2 characters, and the text has %3. Nothing was saved.</translation>
    </message>
    <message>
        <source>Новую запись «%1» не удалось сохранить в каталоге &quot;%2&quot;: %3</source>
        <translation>The new record of “%1” could not be saved in catalog &quot;%2&quot;: %3</translation>
    </message>
    <message>
        <source>Изменение «%1» не удалось сохранить в каталоге &quot;%2&quot;: %3</source>
        <translation>The change to “%1” could not be saved in catalog &quot;%2&quot;: %3</translation>
    </message>
    <message>
        <source>Запись «%1» не удалось удалить из каталога &quot;%2&quot;: %3</source>
        <translation>The record of “%1” could not be deleted from catalog &quot;%2&quot;: %3</translation>
    </message>
    <message>
        <source>Каталог не может выполнить запрос: %1</source>
        <translation>The catalog cannot run the query: %1</translation>
    </message>
    <message>
        <source>Каталог не принимает значение: %1</source>
        <translation>The catalog does not accept the value: %1</translation>
    </message>
    <message>
        <source>Файла каталога &quot;%1&quot; нет.</source>
        <translation>Catalog file &quot;%1&quot; does not exist.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; — папка, а не файл каталога Vidoteq.</source>
        <translation>&quot;%1&quot; is a folder, not a Vidoteq catalog file.</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; пуст: это не каталог Vidoteq.</source>
        <translation>File &quot;%1&quot; is empty: it is not a Vidoteq catalog.</translation>
    </message>
    <message>
        <source>Файл каталога &quot;%1&quot; не читается: %2</source>
        <translation>Catalog file &quot;%1&quot; cannot be read: %2</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; — не каталог Vidoteq.</source>
        <translation>File &quot;%1&quot; is not a Vidoteq catalog.</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; — не каталог Vidoteq (в нём нет: %2).</source>
        <translation>File &quot;%1&quot; is not a Vidoteq catalog (it lacks: %2).</translation>
    </message>
    <message>
        <source>Каталог «%1» сделан более новой версией Vidoteq (версия файла %2, эта программа читает до %3). Обновите программу. Файл не изменён.</source>
        <translation>Catalog “%1” was made by a newer version of Vidoteq (file version %2, this program reads up to %3). Update the program. The file was not changed.</translation>
    </message>
    <message>
        <source>Каталог «%1» не удалось обновить до версии этой программы: %2. Файл не изменён.</source>
        <translation>Catalog “%1” could not be upgraded to this program&apos;s version: %2. The file was not changed.</translation>
    </message>
    <message>
        <source>Каталог &quot;%1&quot; не открывается: %2</source>
        <translation>Catalog &quot;%1&quot; does not open: %2</translation>
    </message>
    <message>
        <source>Каталог &quot;%1&quot; не принял изменение: %2</source>
        <translation>Catalog &quot;%1&quot; did not take the change: %2</translation>
    </message>
    <message>
        <source>%1 в каталоге &quot;%2&quot;: %3</source>
        <translation>%1 in catalog &quot;%2&quot;: %3</translation>
    </message>
    <message>
        <source>Таблица «%1» каталога &quot;%2&quot; не читается: %3</source>
        <translation>Table “%1” of catalog &quot;%2&quot; cannot be read: %3</translation>
    </message>
    <message>
        <source>Не выбран язык звука или субтитров.</source>
        <translation>No audio or subtitle language chosen.</translation>
    </message>
    <message>
        <source>Список не в UTF-8, а перевода из Windows-1251 в системе нет.</source>
        <translation>The list is not in UTF-8, and the system cannot convert from Windows-1251.</translation>
    </message>
    <message>
        <source>Недопустимое имя листа «%1».</source>
        <translation>Invalid sheet name “%1”.</translation>
    </message>
    <message>
        <source>Недопустимый размер шрифта %1.</source>
        <translation>Invalid font size %1.</translation>
    </message>
    <message>
        <source>Недопустимый цвет шрифта %1.</source>
        <translation>Invalid font colour %1.</translation>
    </message>
    <message>
        <source>Ширину столбца нельзя задать строке %1.</source>
        <translation>A column width cannot be set for row %1.</translation>
    </message>
    <message>
        <source>Недопустимая ширина столбца %1.</source>
        <translation>Invalid column width %1.</translation>
    </message>
    <message>
        <source>Строка %1 вне листа.</source>
        <translation>Row %1 is outside the sheet.</translation>
    </message>
    <message>
        <source>Столбец %1 вне листа.</source>
        <translation>Column %1 is outside the sheet.</translation>
    </message>
    <message>
        <source>Лист «%1» уже есть.</source>
        <translation>Sheet “%1” already exists.</translation>
    </message>
    <message>
        <source>Ячейка (%1, %2) вне листа.</source>
        <translation>Cell (%1, %2) is outside the sheet.</translation>
    </message>
    <message>
        <source>Текст для ячейки (%1, %2) длиннее, чем вмещает ячейка.</source>
        <translation>The text for cell (%1, %2) is longer than a cell holds.</translation>
    </message>
    <message>
        <source>Нет листа %1.</source>
        <translation>No sheet %1.</translation>
    </message>
    <message>
        <source>Неизвестный шаблон книги %1.</source>
        <translation>Unknown workbook template %1.</translation>
    </message>
    <message>
        <source>Нет книги %1.</source>
        <translation>No workbook %1.</translation>
    </message>
    <message>
        <source>Нет открытой базы, с которой можно снять копию.</source>
        <translation>No catalog is open to make a copy of.</translation>
    </message>
    <message>
        <source>Файл %1 уже есть; он не будет заменён.</source>
        <translation>File %1 already exists; it will not be replaced.</translation>
    </message>
    <message>
        <source>Добавить в текущею базу?</source>
        <translation>Add to the current catalog?</translation>
    </message>
    <message>
        <source>Строку %1 списка добавить не удалось: %2 Строки до неё (%3) уже в каталоге; строка %1 и следующие — нет.</source>
        <translation>Line %1 of the list could not be added: %2 The lines before it (%3) are in the catalog; line %1 and the ones after are not.</translation>
    </message>
    <message>
        <source>
Следующее «To Base» в этот каталог начнётся со строки %1.</source>
        <translation>
The next “To Base” into this catalog will start at line %1.</translation>
    </message>
    <message>
        <source>Название аниме не может быть пустым.</source>
        <translation>A title&apos;s name cannot be empty.</translation>
    </message>
    <message>
        <source>В каталоге нет серии с ID %1.</source>
        <translation>The catalog has no episode with ID %1.</translation>
    </message>
    <message>
        <source>Вы уверены?</source>
        <translation>Are you sure?</translation>
    </message>
    <message>
        <source>Удалить </source>
        <translation>Delete </translation>
    </message>
    <message>
        <source>Другое название аниме не может быть пустым.</source>
        <translation>A title&apos;s other name cannot be empty.</translation>
    </message>
    <message>
        <source>В другом названии аниме не может быть табуляций, переводов строки и других управляющих знаков.</source>
        <translation>A title&apos;s other name cannot hold tabs, line breaks or other control characters.</translation>
    </message>
    <message>
        <source>«%1» — основное название этого аниме; другое название должно от него отличаться.</source>
        <translation>“%1” is the main name of this title; another name must differ from it.</translation>
    </message>
    <message>
        <source>У этого аниме уже есть другое название «%1».</source>
        <translation>This title already has the other name “%1”.</translation>
    </message>
    <message>
        <source>В каталоге нет другого названия с ID %1.</source>
        <translation>The catalog has no other name with ID %1.</translation>
    </message>
    <message>
        <source>Другое название с ID %1 принадлежит не аниме с ID %2.</source>
        <translation>The other name with ID %1 does not belong to the title with ID %2.</translation>
    </message>
    <message>
        <source>Новое название</source>
        <translation>New name</translation>
    </message>
    <message>
        <source>Изменить название</source>
        <translation>Edit name</translation>
    </message>
    <message>
        <source>Другое название аниме «%1»:</source>
        <translation>Other name of the title “%1”:</translation>
    </message>
    <message>
        <source>нет типа «%1» (нужен номер или название типа)</source>
        <translation>no type “%1” (a type&apos;s number or name is needed)</translation>
    </message>
    <message>
        <source>нет языка «%1» (нужен ключ или название языка)</source>
        <translation>no language “%1” (a language&apos;s key or name is needed)</translation>
    </message>
    <message>
        <source>нет кодека «%1» (нужен ключ или название кодека)</source>
        <translation>no codec “%1” (a codec&apos;s key or name is needed)</translation>
    </message>
    <message>
        <source>нет контейнера «%1» (нужен ключ или название формата)</source>
        <translation>no container “%1” (a format&apos;s key or name is needed)</translation>
    </message>
    <message>
        <source>«%1» — не размер кадра (нужно ШИРИНАxВЫСОТА, например 1280x720)</source>
        <translation>“%1” is not a frame size (WIDTHxHEIGHT is needed, e.g. 1280x720)</translation>
    </message>
    <message>
        <source>«%1» — не высота кадра (нужно целое число 0 или больше)</source>
        <translation>“%1” is not a frame height (a whole number, 0 or more, is needed)</translation>
    </message>
    <message>
        <source>«%1» — не число дней (нужно целое число 0 или больше)</source>
        <translation>“%1” is not a number of days (a whole number, 0 or more, is needed)</translation>
    </message>
    <message>
        <source>Показано %1 из %2 · файлов %3 из %4 · %5 из %6 · %7 из %8</source>
        <translation>Showing %1 of %2 · files %3 of %4 · %5 of %6 · %7 of %8</translation>
    </message>
    <message>
        <source>место неизвестно</source>
        <translation>place unknown</translation>
    </message>
    <message>
        <source>Где файл серии «%1», неизвестно (место неизвестно). Привяжите папку с ним.</source>
        <translation>Where the file of episode “%1” is, is not known (place unknown). Attach the folder that holds it.</translation>
    </message>
    <message>
        <source>Диск «%1» не подключён</source>
        <translation>Drive “%1” is not connected</translation>
    </message>
    <message>
        <source>Папка &apos;%1&apos; не найдена.</source>
        <translation>Folder &apos;%1&apos; not found.</translation>
    </message>
    <message>
        <source>В каталоге нет диска с ID %1.</source>
        <translation>The catalog has no drive with ID %1.</translation>
    </message>
    <message>
        <source>Файл &apos;%1&apos; не найден на диске. Проверьте файлы диска.</source>
        <translation>File &apos;%1&apos; was not found on the drive. Check the drive&apos;s files.</translation>
    </message>
    <message>
        <source>Диск «%1» (%2), папка %3: %4</source>
        <translation>Drive “%1” (%2), folder %3: %4</translation>
    </message>
    <message>
        <source>подключён</source>
        <translation>connected</translation>
    </message>
    <message>
        <source>не подключён</source>
        <translation>not connected</translation>
    </message>
    <message>
        <source>на месте</source>
        <translation>in place</translation>
    </message>
    <message>
        <source>не найден</source>
        <translation>not found</translation>
    </message>
    <message>
        <source>изменён</source>
        <translation>changed</translation>
    </message>
    <message>
        <source>перемещён</source>
        <translation>moved</translation>
    </message>
    <message>
        <source>диск не подключён</source>
        <translation>drive not connected</translation>
    </message>
    <message>
        <source>На месте: %1, изменены: %2, не найдены: %3, перемещены: %4, на отключённых дисках: %5</source>
        <translation>In place: %1, changed: %2, not found: %3, moved: %4, on disconnected drives: %5</translation>
    </message>
    <message>
        <source>Проверено %1 из %2</source>
        <translation>Checked %1 of %2</translation>
    </message>
    <message>
        <source>Убрать из каталога ненайденные файлы (%1)? %2</source>
        <translation>Remove the missing files (%1) from the catalog? %2</translation>
    </message>
    <message>
        <source>Забыть диск «%1»? Его файлы (%2) останутся в каталоге, место неизвестно. %3</source>
        <translation>Forget drive “%1”? Its files (%2) stay in the catalog, their place unknown. %3</translation>
    </message>
    <message>
        <source>Привязано: %1, неоднозначно: %2, без файла: %3, лишних файлов: %4</source>
        <translation>Attached: %1, ambiguous: %2, without a file: %3, files left over: %4</translation>
    </message>
    <message>
        <source>адресу ресурса</source>
        <translation>its share address</translation>
    </message>
    <message>
        <source>метке и размеру (нет UUID)</source>
        <translation>its label and size (no UUID)</translation>
    </message>
    <message>
        <source>точке монтирования</source>
        <translation>its mount point</translation>
    </message>
    <message>
        <source>Имя диска «%1»:</source>
        <translation>Name of drive “%1”:</translation>
    </message>
    <message>
        <source>параметру %1 нужно значение</source>
        <translation>option %1 needs a value</translation>
    </message>
    <message>
        <source>параметр %1 не принимает значения</source>
        <translation>option %1 takes no value</translation>
    </message>
    <message>
        <source>неизвестный параметр %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>неверное число аргументов</source>
        <translation>wrong number of arguments</translation>
    </message>
    <message>
        <source>не указана команда</source>
        <translation>no command given</translation>
    </message>
    <message>
        <source>неизвестная команда %1</source>
        <translation>unknown command %1</translation>
    </message>
    <message>
        <source>использование: vidoteq-cli [--catalog ФАЙЛ] КОМАНДА [АРГУМЕНТЫ]
       vidoteq-cli --help | --version
Параметры принимают и вид --параметр=значение; после -- всё — аргументы.
команды:
</source>
        <translation>usage: vidoteq-cli [--catalog FILE] COMMAND [ARGUMENTS]
       vidoteq-cli --help | --version
Options also take the form --option=value; after -- everything is an argument.
commands:
</translation>
    </message>
    <message>
        <source>команде %1 нужен %2</source>
        <translation>command %1 needs %2</translation>
    </message>
    <message>
        <source>&apos;%1&apos; — не номер аниме</source>
        <translation>&apos;%1&apos; is not a title number</translation>
    </message>
    <message>
        <source>&apos;%1&apos; — не номер другого названия</source>
        <translation>&apos;%1&apos; is not an other-name number</translation>
    </message>
    <message>
        <source>%1: &apos;%2&apos; — не целое число</source>
        <translation>%1: &apos;%2&apos; is not an integer</translation>
    </message>
    <message>
        <source>%1 и %2 нельзя задать вместе</source>
        <translation>%1 and %2 cannot be given together</translation>
    </message>
    <message>
        <source>у новой базы должно быть имя</source>
        <translation>the new catalog needs a name</translation>
    </message>
    <message>
        <source>у файла, в который писать, должно быть имя</source>
        <translation>the file to write needs a name</translation>
    </message>
    <message>
        <source>у аниме должно быть название</source>
        <translation>the title needs a name</translation>
    </message>
    <message>
        <source>неизвестное действие %1: %2</source>
        <translation>unknown action %1: %2</translation>
    </message>
    <message>
        <source>%1: неверное число аргументов</source>
        <translation>%1: wrong number of arguments</translation>
    </message>
    <message>
        <source>--json — только для списка названий</source>
        <translation>--json is for the title list only</translation>
    </message>
    <message>
        <source>--selection ждёт номера аниме через запятую, а не &quot;%1&quot;</source>
        <translation>--selection expects title numbers separated by commas, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--columns ждёт номера столбцов от 0 до 9 через запятую, а не &quot;%1&quot;</source>
        <translation>--columns expects column numbers from 0 to 9 separated by commas, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--columns выбирает столбцы выгрузки с --selection</source>
        <translation>--columns chooses the export&apos;s columns with --selection</translation>
    </message>
    <message>
        <source>неизвестное поле &apos;%1&apos; (поля: %2)</source>
        <translation>unknown field &apos;%1&apos; (fields: %2)</translation>
    </message>
    <message>
        <source>Куда сохранить страницу HTML</source>
        <translation>Where to save the HTML page</translation>
    </message>
    <message>
        <source>Куда сохранить таблицу</source>
        <translation>Where to save the spreadsheet</translation>
    </message>
    <message>
        <source>Куда сохранить новую базу</source>
        <translation>Where to save the new catalog</translation>
    </message>
    <message>
        <source>Создан файл %1

Открыть его?</source>
        <translation>File %1 created

Open it?</translation>
    </message>
    <message>
        <source>Файл %1 уже есть. Заменить его?</source>
        <translation>File %1 already exists. Replace it?</translation>
    </message>
    <message>
        <source>Создана база %1; теперь открыта она.</source>
        <translation>Catalog %1 created; it is open now.</translation>
    </message>
    <message>
        <source>Какой каталог Access перенести</source>
        <translation>Which Access catalog to bring over</translation>
    </message>
    <message>
        <source>О программе</source>
        <translation>About Vidoteq</translation>
    </message>
    <message>
        <source>Vidoteq %1
Каталог аниме и видеофайлов их серий.
© Morvik. Все права защищены.

</source>
        <translation>Vidoteq %1
A catalog of anime titles and the video files of their episodes.
© Morvik. All rights reserved.

</translation>
    </message>
    <message>
        <source>База не открыта.</source>
        <translation>No catalog is open.</translation>
    </message>
    <message>
        <source>База: %1
Версия схемы базы: %2</source>
        <translation>Catalog: %1
Catalog schema version: %2</translation>
    </message>
    <message>
        <source>Среди перетащенного нет ни папок, ни файлов.</source>
        <translation>Nothing dropped is a folder or a file.</translation>
    </message>
    <message>
        <source>Нечего добавлять: выберите папку с сериями в дереве (или перетащите её в окно) и щёлкните файл в списке.</source>
        <translation>Nothing to add: choose a folder of episodes in the tree (or drop it onto the window) and click a file in the list.</translation>
    </message>
    <message>
        <source>нет: %1</source>
        <translation>missing: %1</translation>
    </message>
    <message>
        <source>, по другому названию «%1»</source>
        <translation>, by the other name “%1”</translation>
    </message>
    <message>
        <source>Другие названия</source>
        <translation>Other names</translation>
    </message>
    <message>
        <source>Имена файлов называют аниме «%1», выбрано «%2».
Добавить как другое название?</source>
        <translation>The file names name the title “%1”, and “%2” is chosen.
Add it as another name?</translation>
    </message>
    <message>
        <source>Из имён файлов не прочитать название аниме: %1</source>
        <translation>The file names do not give a title&apos;s name: %1</translation>
    </message>
    <message>
        <source>файл изменился, пока его читали</source>
        <translation>the file changed while it was being read</translation>
    </message>
    <message>
        <source>Суммы файлов: %1 из %2, %3 из %4 МБ</source>
        <translation>Hashing: %1 of %2 files, %3 of %4 MB</translation>
    </message>
    <message>
        <source>Посчитано: %1, без изменений: %2, изменились: %3, не прочитаны: %4, ждут диска: %5</source>
        <translation>Hashed: %1, unchanged: %2, changed: %3, unreadable: %4, waiting for their drive: %5</translation>
    </message>
    <message>
        <source>С суммой в имени: %1, совпадают: %2, не совпадают: %3, изменились: %4, ещё не посчитаны: %5</source>
        <translation>With a checksum in the name: %1, match: %2, do not match: %3, changed: %4, not hashed yet: %5</translation>
    </message>
    <message>
        <source>в разных аниме</source>
        <translation>in different anime</translation>
    </message>
    <message>
        <source>копии</source>
        <translation>copies</translation>
    </message>
    <message>
        <source>файлов: %1, по %2 байт, %3</source>
        <translation>files: %1, %2 bytes each, %3</translation>
    </message>
    <message>
        <source>Одинаковых файлов нет.</source>
        <translation>No identical files.</translation>
    </message>
    <message>
        <source>копий: %1</source>
        <translation>copies: %1</translation>
    </message>
</context>
</TS>

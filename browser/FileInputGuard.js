// Puts a click guard on every file input of the document, so that clicking one never opens
// the file chooser. A page's own click handler on such an input is replaced.
(function () {
  'use strict';
  var body = document.body;
  if (!body) {
    return;
  }
  function fileInputClick(event) {
    var source = event.target;
    var allow = true;
    if (String(source.tagName || '').toLowerCase() === 'input') {
      allow = String(source.getAttribute('type') || '').toLowerCase() !== 'file';
    }
    event.returnValue = allow;
    if (!allow) {
      event.preventDefault();
    }
  }
  var elements = body.getElementsByTagName('*');
  for (var i = 0; i < elements.length; ++i) {
    var element = elements[i];
    if (element.tagName.toLowerCase() === 'input' &&
        String(element.getAttribute('type')).toLowerCase() === 'file') {
      element.onclick = fileInputClick;
    }
  }
})();
